<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="it">
<context>
    <name>About</name>
    <message>
        <source>Pictavo, copyright (c) 2026 the Pictavo authors</source>
        <translation>Pictavo, copyright (c) 2026 gli autori di Pictavo</translation>
    </message>
</context>
<context>
    <name>Browse</name>
    <message>
        <source>Loading Image %1</source>
        <translation>Caricamento immagine %1</translation>
    </message>
    <message>
        <source>Select the desired folder:</source>
        <translation>Selezionare la cartella desiderata:</translation>
    </message>
    <message>
        <source>Loading Images...</source>
        <translation>Caricamento immagini...</translation>
    </message>
    <message>
        <source>Loading stopped at &quot;%1&quot;, which could not be opened: %2.</source>
        <translation>Caricamento interrotto a «%1», che non è stato possibile aprire: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>non è un&apos;immagine</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>it</source>
        <translation>il convertitore</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded: %1</source>
        <translation>non è stato possibile caricare il convertitore JPEG: %1</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded (%1)</source>
        <translation>non è stato possibile caricare il convertitore JPEG (%1)</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it does not say its interface version</source>
        <translation>il convertitore JPEG %1 è rifiutato: non indica la sua versione di interfaccia</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has interface version %2, this program needs %3</source>
        <translation>il convertitore JPEG %1 è rifiutato: ha la versione di interfaccia %2, questo programma richiede la %3</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has no BmpToJpeg</source>
        <translation>il convertitore JPEG %1 è rifiutato: non ha BmpToJpeg</translation>
    </message>
    <message>
        <source>there was not enough memory to convert it to JPEG</source>
        <translation>non c&apos;era memoria sufficiente per convertirla in JPEG</translation>
    </message>
    <message>
        <source>the JPEG converter could not read the picture: %1</source>
        <translation>il convertitore JPEG non è riuscito a leggere l&apos;immagine: %1</translation>
    </message>
    <message>
        <source>the JPEG converter does not take this kind of bitmap</source>
        <translation>il convertitore JPEG non accetta questo tipo di bitmap</translation>
    </message>
    <message>
        <source>the JPEG converter could not encode the picture</source>
        <translation>il convertitore JPEG non è riuscito a codificare l&apos;immagine</translation>
    </message>
    <message>
        <source>the JPEG file could not be written: %1</source>
        <translation>non è stato possibile scrivere il file JPEG: %1</translation>
    </message>
    <message>
        <source>the JPEG converter refused the file names it was given</source>
        <translation>il convertitore JPEG ha rifiutato i nomi di file ricevuti</translation>
    </message>
</context>
<context>
    <name>Copy</name>
    <message>
        <source>The picture was not copied to the clipboard: %1.</source>
        <translation>L&apos;immagine non è stata copiata negli appunti: %1.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was looked for in %2, which is missing</source>
        <translation>%1 è stato cercato in %2, che non esiste</translation>
    </message>
    <message>
        <source>%1 was looked for in %2, which cannot be read (%3)</source>
        <translation>%1 è stato cercato in %2, che non è leggibile (%3)</translation>
    </message>
    <message>
        <source>%1 is missing: %2 (%3)</source>
        <translation>%1 non esiste: %2 (%3)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2 (%3)</source>
        <translation>%1 non è leggibile: %2 (%3)</translation>
    </message>
    <message>
        <source>the existing file is not writable (%1)</source>
        <translation>il file esistente non è scrivibile (%1)</translation>
    </message>
    <message>
        <source>it is a link that leads to no file (%1)</source>
        <translation>è un collegamento che non porta a nessun file (%1)</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>the work ended without a result</source>
        <translation>il lavoro è terminato senza risultato</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>non c&apos;è memoria sufficiente</translation>
    </message>
    <message>
        <source>an unexpected error occurred</source>
        <translation>si è verificato un errore imprevisto</translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 non esiste.
Crearlo?</translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>All Graphics</source>
        <translation>Tutte le immagini</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Apri immagine</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened: %2.</source>
        <translation>Impossibile aprire il file «%1»: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>non è un&apos;immagine</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not opened: the picture it was to replace changed while it loaded.</source>
        <translation>Il file «%1» non è stato aperto: l&apos;immagine che doveva sostituire è cambiata durante il caricamento.</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>there is no picture in this entry</source>
        <translation>questa voce non contiene alcuna immagine</translation>
    </message>
    <message>
        <source>the file is missing or empty after writing</source>
        <translation>il file manca o è vuoto dopo la scrittura</translation>
    </message>
    <message>
        <source>the JPEG converter left no file there</source>
        <translation>il convertitore JPEG non ha lasciato alcun file lì</translation>
    </message>
    <message>
        <source>there is not enough memory for the picture</source>
        <translation>memoria insufficiente per l&apos;immagine</translation>
    </message>
    <message>
        <source>the file could not be read</source>
        <translation>impossibile leggere il file</translation>
    </message>
    <message>
        <source>there is not enough memory to decode the picture</source>
        <translation>memoria insufficiente per decodificare l&apos;immagine</translation>
    </message>
    <message>
        <source>the file is not an EMF or WMF file</source>
        <translation>il file non è un file EMF o WMF</translation>
    </message>
    <message>
        <source>the file is too large for the metafile reader</source>
        <translation>il file è troppo grande per il lettore di metafile</translation>
    </message>
    <message>
        <source>the metafile is damaged</source>
        <translation>il metafile è danneggiato</translation>
    </message>
    <message>
        <source>the metafile&apos;s picture size is empty or too large</source>
        <translation>la dimensione dell&apos;immagine del metafile è nulla o troppo grande</translation>
    </message>
    <message>
        <source>the metafile reader could not convert the file</source>
        <translation>il lettore di metafile non è riuscito a convertire il file</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing cannot be shown</source>
        <translation>impossibile mostrare il disegno del metafile</translation>
    </message>
    <message>
        <source>the metafile reader failed (exit code %1)</source>
        <translation>il lettore di metafile non è riuscito (codice di uscita %1)</translation>
    </message>
    <message>
        <source>the metafile reader</source>
        <translation>il lettore di metafile</translation>
    </message>
    <message>
        <source>the metafile reader could not be started: %1</source>
        <translation>impossibile avviare il lettore di metafile: %1</translation>
    </message>
    <message>
        <source>the metafile reader took too long</source>
        <translation>il lettore di metafile ha impiegato troppo tempo</translation>
    </message>
    <message>
        <source>the metafile reader&apos;s reply is too large</source>
        <translation>la risposta del lettore di metafile è troppo grande</translation>
    </message>
    <message>
        <source>the metafile reader crashed</source>
        <translation>il lettore di metafile si è arrestato in modo anomalo</translation>
    </message>
    <message>
        <source>the metafile reader gave an unreadable reply</source>
        <translation>il lettore di metafile ha dato una risposta illeggibile</translation>
    </message>
    <message>
        <source>the file is shorter than its header says (%1 of %2 bytes)</source>
        <translation>il file è più corto di quanto indichi la sua intestazione (%1 di %2 byte)</translation>
    </message>
    <message>
        <source>the file ends before its picture does</source>
        <translation>il file termina prima della sua immagine</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels, more than this program takes (%3 pixels a side, %4 million pixels in all)</source>
        <translation>l&apos;immagine è di %1 × %2 pixel, più di quanto accetti questo programma (%3 pixel per lato, %4 milioni di pixel in tutto)</translation>
    </message>
    <message>
        <source>the picture data is damaged or incomplete (%1)</source>
        <translation>i dati dell&apos;immagine sono danneggiati o incompleti (%1)</translation>
    </message>
    <message>
        <source>its scans could not be counted</source>
        <translation>non è stato possibile contarne le scansioni</translation>
    </message>
    <message>
        <source>a marker that no JPEG decoder takes</source>
        <translation>un marcatore che nessun decodificatore JPEG accetta</translation>
    </message>
    <message>
        <source>more than %1 scans</source>
        <translation>più di %1 scansioni</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing is empty</source>
        <translation>il disegno del metafile è vuoto</translation>
    </message>
    <message>
        <source>the file changed while it was read</source>
        <translation>il file è cambiato durante la lettura</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>è una cartella, non un file</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>non è un file normale</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>il file è vuoto</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels</source>
        <translation>l&apos;immagine è di %1 × %2 pixel</translation>
    </message>
    <message>
        <source>it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture</source>
        <translation>non è un&apos;immagine BMP, GIF, JPEG, PNG, EMF o WMF</translation>
    </message>
    <message>
        <source>there is no picture to save</source>
        <translation>non c&apos;è alcuna immagine da salvare</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>impossibile codificare l&apos;immagine</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 pixel</translation>
    </message>
</context>
<context>
    <name>Print</name>
    <message>
        <source>The picture could not be printed: there is not enough memory for it, or the printer did not take it.</source>
        <translation>Impossibile stampare l&apos;immagine: memoria insufficiente, oppure la stampante non l&apos;ha accettata.</translation>
    </message>
    <message>
        <source>The picture could not be printed: %1.</source>
        <translation>Non è stato possibile stampare l&apos;immagine: %1.</translation>
    </message>
</context>
<context>
    <name>Save</name>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>Immagine JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Immagine bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>The picture was not saved as %1: %2.</source>
        <translation>L&apos;immagine non è stata salvata come %1: %2.</translation>
    </message>
    <message>
        <source>

It is kept in the BMP file %1.</source>
        <translation>

È conservata nel file BMP %1.</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Salva immagine</translation>
    </message>
    <message>
        <source>a file of that name exists already; save with the full name to replace it</source>
        <translation>esiste già un file con quel nome; salvare con il nome completo per sostituirlo</translation>
    </message>
</context>
<context>
    <name>SaveAll</name>
    <message>
        <source>%1 of %2 pictures were not saved in %3.</source>
        <translation>Immagini non salvate in %3: %1 di %2.</translation>
    </message>
    <message>
        <source>it was written, but is gone since</source>
        <translation>è stato scritto, ma da allora è sparito</translation>
    </message>
    <message>
        <source>

%1 of them could not be converted and are kept there as BMP files.</source>
        <translation>

Non convertite e conservate lì come file BMP: %1.</translation>
    </message>
    <message>
        <source>Select folder where you want to save all the images:</source>
        <translation>Selezionare la cartella in cui salvare tutte le immagini:</translation>
    </message>
    <message>
        <source>Save all is done.</source>
        <translation>Tutte le immagini sono state salvate.</translation>
    </message>
    <message>
        <source>Save all into %1 did not finish: %2.</source>
        <translation>Salva tutto in %1 non è terminato: %2.</translation>
    </message>
</context>
<context>
    <name>Viewers</name>
    <message>
        <source>There is not enough memory to show this picture.</source>
        <translation>Memoria insufficiente per mostrare questa immagine.</translation>
    </message>
</context>
<context>
    <name>formCapture</name>
    <message>
        <source>Pictavo - [Use PrintScreen key to capture screen]</source>
        <translation>Pictavo - [Usare il tasto Stamp per catturare lo schermo]</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Salva...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>Salva &amp;tutto</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Apri...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>Stam&amp;pa...</translation>
    </message>
    <message>
        <source>Cop&amp;y to Clipboard</source>
        <translation>&amp;Copia negli appunti</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Elimina</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>S&amp;vuota</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>Sfo&amp;glia...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Informazioni...</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galleria</translation>
    </message>
    <message>
        <source>The command did not finish: %1.</source>
        <translation>Il comando non è terminato: %1.</translation>
    </message>
</context>
<context>
    <name>formZoom</name>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Salva...</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Immagine bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Salva immagine</translation>
    </message>
    <message>
        <source>The picture could not be saved as &quot;%1&quot;: %2.</source>
        <translation>Impossibile salvare l&apos;immagine come «%1»: %2.</translation>
    </message>
</context>
</TS>
