#!/usr/bin/env bash
# For each toolkit found here (Qt 6, Qt 5, GTK 3, GTK 4, Java AWT), copies one picture the
# way its programs do and reads back every image type it offers: the time from the request
# to the last byte, and whether the pixels are exactly the copied ones. Prints the table.
# Needs DISPLAY (an X server of the caller's), xclip and ImageMagick; a toolkit that is not
# installed is left out of the table.
set -euo pipefail
tools=${1:?folder with cliptool}
size=${2:-1920x1080}
: "${DISPLAY:?DISPLAY must name an X server}"
work=$(mktemp -d)
owner=
trap '[ -n "$owner" ] && kill "$owner" 2>/dev/null; rm -rf "$work"' EXIT
# A busy screen: PNG encoders take their time on it, as on a real one.
convert -size "$size" plasma:fractal -fill white -pointsize 48 -annotate +100+200 'A screen' \
    "PNG24:$work/screen.png"

cat >"$work/qt5.py" <<'EOF'
import sys
from PyQt5.QtGui import QImage
from PyQt5.QtWidgets import QApplication
app = QApplication(sys.argv[:1])
app.clipboard().setImage(QImage(sys.argv[1]))
app.exec_()
EOF
cat >"$work/gtk3.py" <<'EOF'
import sys, gi
gi.require_version("Gtk", "3.0")
gi.require_version("Gdk", "3.0")
from gi.repository import Gdk, GdkPixbuf, Gtk
Gtk.Clipboard.get(Gdk.SELECTION_CLIPBOARD).set_image(GdkPixbuf.Pixbuf.new_from_file(sys.argv[1]))
Gtk.main()
EOF
cat >"$work/gtk4.py" <<'EOF'
import sys, gi
gi.require_version("Gtk", "4.0")
gi.require_version("Gdk", "4.0")
from gi.repository import Gdk, GLib, GObject, Gtk
Gtk.init()
texture = Gdk.Texture.new_from_filename(sys.argv[1])
value = GObject.Value(Gdk.Texture, texture)
Gdk.Display.get_default().get_clipboard().set_content(Gdk.ContentProvider.new_for_value(value))
GLib.MainLoop().run()
EOF
cat >"$work/AwtCopy.java" <<'EOF'
import java.awt.Toolkit;
import java.awt.datatransfer.*;
import java.awt.image.BufferedImage;
import java.io.File;
import javax.imageio.ImageIO;
public class AwtCopy {
    public static void main(String[] args) throws Exception {
        BufferedImage image = ImageIO.read(new File(args[0]));
        Transferable t = new Transferable() {
            public DataFlavor[] getTransferDataFlavors() { return new DataFlavor[] {DataFlavor.imageFlavor}; }
            public boolean isDataFlavorSupported(DataFlavor f) { return DataFlavor.imageFlavor.equals(f); }
            public Object getTransferData(DataFlavor f) throws UnsupportedFlavorException {
                if (!isDataFlavorSupported(f)) throw new UnsupportedFlavorException(f);
                return image;
            }
        };
        Toolkit.getDefaultToolkit().getSystemClipboard().setContents(t, null);
        Thread.sleep(600000);
    }
}
EOF

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# The raster types a reader might choose; icons, XPM and the like are left out.
offered() {
    timeout 5 xclip -o -selection clipboard -t TARGETS 2>/dev/null |
        grep -iE '^image/(png|x-png|bmp|x-bmp|x-ms-bmp|tiff|ppm|x-portable-pixmap|webp|jpeg|gif)$' || true
}

# measure NAME COMMAND...: one owner, every image type it offers.
measure() {
    local name=$1
    shift
    if ! command -v "$1" >/dev/null; then
        echo "$name: not installed"
        return
    fi
    QT_QPA_PLATFORM=xcb "$@" >"$work/owner.out" 2>&1 &
    owner=$!
    local types="" deadline=$(($(now_ms) + 30000))
    while [ -z "$types" ] && [ "$(now_ms)" -lt "$deadline" ] && kill -0 "$owner" 2>/dev/null; do
        types=$(offered)
        [ -n "$types" ] || sleep 0.2
    done
    if [ -z "$types" ]; then
        echo "$name: offered no image ($(head -c 200 "$work/owner.out"))"
    fi
    for type in $types; do
        local start end pixels
        start=$(now_ms)
        timeout 60 xclip -o -selection clipboard -t "$type" >"$work/out" 2>/dev/null || true
        end=$(now_ms)
        pixels=$(compare -metric AE "$work/screen.png" "$work/out" null: 2>&1 || true)
        [ "$pixels" = 0 ] && exact=exact || exact="not exact ($pixels)"
        [ -s "$work/out" ] || exact="nothing"
        printf '%-8s %-26s %7d ms  %s\n' "$name" "$type" $((end - start)) "$exact"
    done
    kill "$owner" 2>/dev/null || true
    wait "$owner" 2>/dev/null || true
    owner=
}

echo "Image types offered, $size, read with xclip (time to the last byte):"
measure Qt6 "$tools/cliptool" image "$work/screen.png"
measure Qt5 /usr/bin/python3 "$work/qt5.py" "$work/screen.png"
/usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "3.0")' 2>/dev/null &&
    measure GTK3 /usr/bin/python3 "$work/gtk3.py" "$work/screen.png" || echo "GTK3: not installed"
/usr/bin/python3 -c 'import gi; gi.require_version("Gtk", "4.0")' 2>/dev/null &&
    measure GTK4 /usr/bin/python3 "$work/gtk4.py" "$work/screen.png" || echo "GTK4: not installed"
measure Java java "$work/AwtCopy.java" "$work/screen.png"
