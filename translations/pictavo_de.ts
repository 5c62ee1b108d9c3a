<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>About</name>
    <message>
        <source>Pictavo, copyright (c) 2026 the Pictavo authors</source>
        <translation>Pictavo, Copyright (c) 2026 die Pictavo-Autoren</translation>
    </message>
</context>
<context>
    <name>Browse</name>
    <message>
        <source>Loading Image %1</source>
        <translation>Bild %1 wird geladen</translation>
    </message>
    <message>
        <source>Select the desired folder:</source>
        <translation>Wählen Sie den gewünschten Ordner:</translation>
    </message>
    <message>
        <source>Loading Images...</source>
        <translation>Bilder werden geladen...</translation>
    </message>
    <message>
        <source>Loading stopped at &quot;%1&quot;, which could not be opened: %2.</source>
        <translation>Das Laden wurde bei „%1“ abgebrochen, da die Datei nicht geöffnet werden konnte: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>die Datei ist kein Bild</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>it</source>
        <translation>er</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded: %1</source>
        <translation>der JPEG-Konverter konnte nicht geladen werden: %1</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded (%1)</source>
        <translation>der JPEG-Konverter konnte nicht geladen werden (%1)</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it does not say its interface version</source>
        <translation>der JPEG-Konverter %1 wird abgelehnt: Er nennt keine Schnittstellenversion</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has interface version %2, this program needs %3</source>
        <translation>der JPEG-Konverter %1 wird abgelehnt: Er hat die Schnittstellenversion %2, dieses Programm benötigt %3</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has no BmpToJpeg</source>
        <translation>der JPEG-Konverter %1 wird abgelehnt: Ihm fehlt BmpToJpeg</translation>
    </message>
    <message>
        <source>there was not enough memory to convert it to JPEG</source>
        <translation>für die Umwandlung in JPEG war nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>the JPEG converter could not read the picture: %1</source>
        <translation>der JPEG-Konverter konnte das Bild nicht lesen: %1</translation>
    </message>
    <message>
        <source>the JPEG converter does not take this kind of bitmap</source>
        <translation>der JPEG-Konverter nimmt diese Art Bitmap nicht an</translation>
    </message>
    <message>
        <source>the JPEG converter could not encode the picture</source>
        <translation>der JPEG-Konverter konnte das Bild nicht kodieren</translation>
    </message>
    <message>
        <source>the JPEG file could not be written: %1</source>
        <translation>die JPEG-Datei konnte nicht geschrieben werden: %1</translation>
    </message>
    <message>
        <source>the JPEG converter refused the file names it was given</source>
        <translation>der JPEG-Konverter wies die ihm übergebenen Dateinamen zurück</translation>
    </message>
</context>
<context>
    <name>Copy</name>
    <message>
        <source>The picture was not copied to the clipboard: %1.</source>
        <translation>Das Bild wurde nicht in die Zwischenablage kopiert: %1.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was looked for in %2, which is missing</source>
        <translation>%1 wurde in %2 gesucht, doch der Ordner fehlt</translation>
    </message>
    <message>
        <source>%1 was looked for in %2, which cannot be read (%3)</source>
        <translation>%1 wurde in %2 gesucht, doch der Ordner ist nicht lesbar (%3)</translation>
    </message>
    <message>
        <source>%1 is missing: %2 (%3)</source>
        <translation>%1 fehlt: %2 (%3)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2 (%3)</source>
        <translation>%1 ist nicht lesbar: %2 (%3)</translation>
    </message>
    <message>
        <source>the existing file is not writable (%1)</source>
        <translation>die vorhandene Datei ist nicht beschreibbar (%1)</translation>
    </message>
    <message>
        <source>it is a link that leads to no file (%1)</source>
        <translation>es ist eine Verknüpfung, die auf keine Datei zeigt (%1)</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>the work ended without a result</source>
        <translation>die Arbeit endete ohne Ergebnis</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>dafür ist nicht genug Speicher frei</translation>
    </message>
    <message>
        <source>an unexpected error occurred</source>
        <translation>ein unerwarteter Fehler ist aufgetreten</translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 existiert nicht.
Soll die Datei erstellt werden?</translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>All Graphics</source>
        <translation>Alle Grafiken</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Bild öffnen</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened: %2.</source>
        <translation>Die Datei „%1“ konnte nicht geöffnet werden: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>die Datei ist kein Bild</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not opened: the picture it was to replace changed while it loaded.</source>
        <translation>Die Datei „%1“ wurde nicht geöffnet: Das Bild, das sie ersetzen sollte, hat sich während des Ladens geändert.</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>there is no picture in this entry</source>
        <translation>dieser Eintrag enthält kein Bild</translation>
    </message>
    <message>
        <source>the file is missing or empty after writing</source>
        <translation>die Datei fehlt nach dem Schreiben oder ist leer</translation>
    </message>
    <message>
        <source>the JPEG converter left no file there</source>
        <translation>der JPEG-Konverter hat dort keine Datei hinterlassen</translation>
    </message>
    <message>
        <source>there is not enough memory for the picture</source>
        <translation>für das Bild ist nicht genug Speicher vorhanden</translation>
    </message>
    <message>
        <source>the file could not be read</source>
        <translation>die Datei konnte nicht gelesen werden</translation>
    </message>
    <message>
        <source>there is not enough memory to decode the picture</source>
        <translation>zum Dekodieren des Bildes ist nicht genug Speicher vorhanden</translation>
    </message>
    <message>
        <source>the file is not an EMF or WMF file</source>
        <translation>die Datei ist keine EMF- oder WMF-Datei</translation>
    </message>
    <message>
        <source>the file is too large for the metafile reader</source>
        <translation>die Datei ist zu groß für das Lesemodul für Metadateien</translation>
    </message>
    <message>
        <source>the metafile is damaged</source>
        <translation>die Metadatei ist beschädigt</translation>
    </message>
    <message>
        <source>the metafile&apos;s picture size is empty or too large</source>
        <translation>die Bildgröße der Metadatei ist leer oder zu groß</translation>
    </message>
    <message>
        <source>the metafile reader could not convert the file</source>
        <translation>das Lesemodul für Metadateien konnte die Datei nicht umwandeln</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing cannot be shown</source>
        <translation>die Zeichnung der Metadatei kann nicht angezeigt werden</translation>
    </message>
    <message>
        <source>the metafile reader failed (exit code %1)</source>
        <translation>das Lesemodul für Metadateien ist fehlgeschlagen (Exit-Code %1)</translation>
    </message>
    <message>
        <source>the metafile reader</source>
        <translation>das Lesemodul für Metadateien</translation>
    </message>
    <message>
        <source>the metafile reader could not be started: %1</source>
        <translation>das Lesemodul für Metadateien konnte nicht gestartet werden: %1</translation>
    </message>
    <message>
        <source>the metafile reader took too long</source>
        <translation>das Lesemodul für Metadateien hat zu lange gebraucht</translation>
    </message>
    <message>
        <source>the metafile reader&apos;s reply is too large</source>
        <translation>die Antwort des Lesemoduls für Metadateien ist zu groß</translation>
    </message>
    <message>
        <source>the metafile reader crashed</source>
        <translation>das Lesemodul für Metadateien ist abgestürzt</translation>
    </message>
    <message>
        <source>the metafile reader gave an unreadable reply</source>
        <translation>das Lesemodul für Metadateien gab eine unlesbare Antwort</translation>
    </message>
    <message>
        <source>the file is shorter than its header says (%1 of %2 bytes)</source>
        <translation>die Datei ist kürzer, als ihr Kopf angibt (%1 von %2 Bytes)</translation>
    </message>
    <message>
        <source>the file ends before its picture does</source>
        <translation>die Datei endet vor dem Ende ihres Bildes</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels, more than this program takes (%3 pixels a side, %4 million pixels in all)</source>
        <translation>das Bild hat %1 × %2 Pixel, mehr als dieses Programm annimmt (%3 Pixel je Seite, %4 Millionen Pixel insgesamt)</translation>
    </message>
    <message>
        <source>the picture data is damaged or incomplete (%1)</source>
        <translation>die Bilddaten sind beschädigt oder unvollständig (%1)</translation>
    </message>
    <message>
        <source>its scans could not be counted</source>
        <translation>seine Scans konnten nicht gezählt werden</translation>
    </message>
    <message>
        <source>a marker that no JPEG decoder takes</source>
        <translation>eine Markierung, die kein JPEG-Decoder annimmt</translation>
    </message>
    <message>
        <source>more than %1 scans</source>
        <translation>mehr als %1 Scans</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing is empty</source>
        <translation>die Zeichnung der Metadatei ist leer</translation>
    </message>
    <message>
        <source>the file changed while it was read</source>
        <translation>die Datei hat sich beim Lesen geändert</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>es ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>es ist keine gewöhnliche Datei</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>die Datei ist leer</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels</source>
        <translation>das Bild hat %1 × %2 Pixel</translation>
    </message>
    <message>
        <source>it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture</source>
        <translation>es ist kein BMP-, GIF-, JPEG-, PNG-, EMF- oder WMF-Bild</translation>
    </message>
    <message>
        <source>there is no picture to save</source>
        <translation>es gibt kein Bild zum Speichern</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>das Bild konnte nicht kodiert werden</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 Pixel</translation>
    </message>
</context>
<context>
    <name>Print</name>
    <message>
        <source>The picture could not be printed: there is not enough memory for it, or the printer did not take it.</source>
        <translation>Das Bild konnte nicht gedruckt werden: Es ist nicht genug Speicher dafür vorhanden, oder der Drucker hat es nicht angenommen.</translation>
    </message>
    <message>
        <source>The picture could not be printed: %1.</source>
        <translation>Das Bild konnte nicht gedruckt werden: %1.</translation>
    </message>
</context>
<context>
    <name>Save</name>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>JPEG-Bild (*.jpg)</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Bitmap-Bild (*.bmp)</translation>
    </message>
    <message>
        <source>The picture was not saved as %1: %2.</source>
        <translation>Das Bild wurde nicht als %1 gespeichert: %2.</translation>
    </message>
    <message>
        <source>

It is kept in the BMP file %1.</source>
        <translation>

Es wurde in der BMP-Datei %1 aufbewahrt.</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>a file of that name exists already; save with the full name to replace it</source>
        <translation>eine Datei dieses Namens existiert bereits; speichern Sie mit dem vollständigen Namen, um sie zu ersetzen</translation>
    </message>
</context>
<context>
    <name>SaveAll</name>
    <message>
        <source>%1 of %2 pictures were not saved in %3.</source>
        <translation>Nicht in %3 gespeichert: %1 von %2 Bildern.</translation>
    </message>
    <message>
        <source>it was written, but is gone since</source>
        <translation>die Datei wurde geschrieben, ist aber seitdem verschwunden</translation>
    </message>
    <message>
        <source>

%1 of them could not be converted and are kept there as BMP files.</source>
        <translation>

Nicht umgewandelt und dort als BMP-Dateien aufbewahrt: %1.</translation>
    </message>
    <message>
        <source>Select folder where you want to save all the images:</source>
        <translation>Wählen Sie den Ordner, in dem alle Bilder gespeichert werden sollen:</translation>
    </message>
    <message>
        <source>Save all is done.</source>
        <translation>Alle Bilder wurden gespeichert.</translation>
    </message>
    <message>
        <source>Save all into %1 did not finish: %2.</source>
        <translation>Alles speichern in %1 wurde nicht beendet: %2.</translation>
    </message>
</context>
<context>
    <name>Viewers</name>
    <message>
        <source>There is not enough memory to show this picture.</source>
        <translation>Zum Anzeigen dieses Bildes ist nicht genug Speicher vorhanden.</translation>
    </message>
</context>
<context>
    <name>formCapture</name>
    <message>
        <source>Pictavo - [Use PrintScreen key to capture screen]</source>
        <translation>Pictavo - [Bildschirmfotos mit der Druck-Taste aufnehmen]</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>&amp;Alle speichern</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>Ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Cop&amp;y to Clipboard</source>
        <translation>In die Zwischenablage &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>Galerie l&amp;eeren</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Ordner laden...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Über...</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galerie</translation>
    </message>
    <message>
        <source>The command did not finish: %1.</source>
        <translation>Der Befehl wurde nicht beendet: %1.</translation>
    </message>
</context>
<context>
    <name>formZoom</name>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Speichern...</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Bitmap-Bild (*.bmp)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Bild speichern</translation>
    </message>
    <message>
        <source>The picture could not be saved as &quot;%1&quot;: %2.</source>
        <translation>Das Bild konnte nicht als „%1“ gespeichert werden: %2.</translation>
    </message>
</context>
</TS>
