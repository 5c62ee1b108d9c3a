// Copies as a Java AWT program does. Reads one line at a time on stdin: a picture's path,
// or "text WORDS"; prints "copied N" once the clipboard holds it. Ends at the end of its input.
import java.awt.Image;
import java.awt.Toolkit;
import java.awt.datatransfer.Clipboard;
import java.awt.datatransfer.DataFlavor;
import java.awt.datatransfer.StringSelection;
import java.awt.datatransfer.Transferable;
import java.awt.datatransfer.UnsupportedFlavorException;
import java.io.BufferedReader;
import java.io.File;
import java.io.InputStreamReader;
import javax.imageio.ImageIO;

public class AwtCopier {
    static final class ImageSelection implements Transferable {
        private final Image image;

        ImageSelection(Image image) {
            this.image = image;
        }

        public DataFlavor[] getTransferDataFlavors() {
            return new DataFlavor[] {DataFlavor.imageFlavor};
        }

        public boolean isDataFlavorSupported(DataFlavor flavor) {
            return DataFlavor.imageFlavor.equals(flavor);
        }

        public Object getTransferData(DataFlavor flavor) throws UnsupportedFlavorException {
            if (!isDataFlavorSupported(flavor))
                throw new UnsupportedFlavorException(flavor);
            return image;
        }
    }

    public static void main(String[] args) throws Exception {
        Clipboard clipboard = Toolkit.getDefaultToolkit().getSystemClipboard();
        BufferedReader in = new BufferedReader(new InputStreamReader(System.in));
        System.out.println("ready");
        System.out.flush();
        int count = 0;
        for (String line; (line = in.readLine()) != null;) {
            if (line.startsWith("text "))
                clipboard.setContents(new StringSelection(line.substring(5)), null);
            else
                clipboard.setContents(new ImageSelection(ImageIO.read(new File(line))), null);
            System.out.println("copied " + ++count);
            System.out.flush();
        }
        System.exit(0);
    }
}
