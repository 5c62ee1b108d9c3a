<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>About</name>
    <message>
        <source>Pictavo, copyright (c) 2026 the Pictavo authors</source>
        <translation>Pictavo, copyright (c) 2026 los autores de Pictavo</translation>
    </message>
</context>
<context>
    <name>Browse</name>
    <message>
        <source>Loading Image %1</source>
        <translation>Cargando imagen %1</translation>
    </message>
    <message>
        <source>Select the desired folder:</source>
        <translation>Seleccione la carpeta deseada:</translation>
    </message>
    <message>
        <source>Loading Images...</source>
        <translation>Cargando imágenes...</translation>
    </message>
    <message>
        <source>Loading stopped at &quot;%1&quot;, which could not be opened: %2.</source>
        <translation>La carga se detuvo en «%1», que no se pudo abrir: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>no es una imagen</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>it</source>
        <translation>el conversor</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded: %1</source>
        <translation>no se pudo cargar el conversor JPEG: %1</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded (%1)</source>
        <translation>no se pudo cargar el conversor JPEG (%1)</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it does not say its interface version</source>
        <translation>se rechaza el conversor JPEG %1: no indica su versión de interfaz</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has interface version %2, this program needs %3</source>
        <translation>se rechaza el conversor JPEG %1: tiene la versión de interfaz %2 y este programa necesita la %3</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has no BmpToJpeg</source>
        <translation>se rechaza el conversor JPEG %1: no tiene BmpToJpeg</translation>
    </message>
    <message>
        <source>there was not enough memory to convert it to JPEG</source>
        <translation>no había memoria suficiente para convertirla a JPEG</translation>
    </message>
    <message>
        <source>the JPEG converter could not read the picture: %1</source>
        <translation>el conversor JPEG no pudo leer la imagen: %1</translation>
    </message>
    <message>
        <source>the JPEG converter does not take this kind of bitmap</source>
        <translation>el conversor JPEG no admite este tipo de mapa de bits</translation>
    </message>
    <message>
        <source>the JPEG converter could not encode the picture</source>
        <translation>el conversor JPEG no pudo codificar la imagen</translation>
    </message>
    <message>
        <source>the JPEG file could not be written: %1</source>
        <translation>no se pudo escribir el archivo JPEG: %1</translation>
    </message>
    <message>
        <source>the JPEG converter refused the file names it was given</source>
        <translation>el conversor JPEG rechazó los nombres de archivo recibidos</translation>
    </message>
</context>
<context>
    <name>Copy</name>
    <message>
        <source>The picture was not copied to the clipboard: %1.</source>
        <translation>La imagen no se copió al portapapeles: %1.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was looked for in %2, which is missing</source>
        <translation>%1 se buscó en %2, que no existe</translation>
    </message>
    <message>
        <source>%1 was looked for in %2, which cannot be read (%3)</source>
        <translation>%1 se buscó en %2, que no se puede leer (%3)</translation>
    </message>
    <message>
        <source>%1 is missing: %2 (%3)</source>
        <translation>%1 no existe: %2 (%3)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2 (%3)</source>
        <translation>%1 no se puede leer: %2 (%3)</translation>
    </message>
    <message>
        <source>the existing file is not writable (%1)</source>
        <translation>el archivo existente no se puede escribir (%1)</translation>
    </message>
    <message>
        <source>it is a link that leads to no file (%1)</source>
        <translation>es un enlace que no lleva a ningún archivo (%1)</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>the work ended without a result</source>
        <translation>el trabajo terminó sin resultado</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>no hay memoria suficiente para ello</translation>
    </message>
    <message>
        <source>an unexpected error occurred</source>
        <translation>se produjo un error inesperado</translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 no existe.
¿Desea crearlo?</translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>All Graphics</source>
        <translation>Todos los gráficos</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Abrir imagen</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened: %2.</source>
        <translation>No se pudo abrir el archivo «%1»: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>no es una imagen</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not opened: the picture it was to replace changed while it loaded.</source>
        <translation>No se abrió el archivo «%1»: la imagen que debía reemplazar cambió durante la carga.</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>there is no picture in this entry</source>
        <translation>esta entrada no contiene ninguna imagen</translation>
    </message>
    <message>
        <source>the file is missing or empty after writing</source>
        <translation>el archivo falta o está vacío después de escribirlo</translation>
    </message>
    <message>
        <source>the JPEG converter left no file there</source>
        <translation>el conversor JPEG no dejó ningún archivo allí</translation>
    </message>
    <message>
        <source>there is not enough memory for the picture</source>
        <translation>no hay memoria suficiente para la imagen</translation>
    </message>
    <message>
        <source>the file could not be read</source>
        <translation>no se pudo leer el archivo</translation>
    </message>
    <message>
        <source>there is not enough memory to decode the picture</source>
        <translation>no hay memoria suficiente para descodificar la imagen</translation>
    </message>
    <message>
        <source>the file is not an EMF or WMF file</source>
        <translation>el archivo no es un archivo EMF ni WMF</translation>
    </message>
    <message>
        <source>the file is too large for the metafile reader</source>
        <translation>el archivo es demasiado grande para el lector de metarchivos</translation>
    </message>
    <message>
        <source>the metafile is damaged</source>
        <translation>el metarchivo está dañado</translation>
    </message>
    <message>
        <source>the metafile&apos;s picture size is empty or too large</source>
        <translation>el tamaño de imagen del metarchivo es nulo o demasiado grande</translation>
    </message>
    <message>
        <source>the metafile reader could not convert the file</source>
        <translation>el lector de metarchivos no pudo convertir el archivo</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing cannot be shown</source>
        <translation>no se puede mostrar el dibujo del metarchivo</translation>
    </message>
    <message>
        <source>the metafile reader failed (exit code %1)</source>
        <translation>el lector de metarchivos falló (código de salida %1)</translation>
    </message>
    <message>
        <source>the metafile reader</source>
        <translation>el lector de metarchivos</translation>
    </message>
    <message>
        <source>the metafile reader could not be started: %1</source>
        <translation>no se pudo iniciar el lector de metarchivos: %1</translation>
    </message>
    <message>
        <source>the metafile reader took too long</source>
        <translation>el lector de metarchivos tardó demasiado</translation>
    </message>
    <message>
        <source>the metafile reader&apos;s reply is too large</source>
        <translation>la respuesta del lector de metarchivos es demasiado grande</translation>
    </message>
    <message>
        <source>the metafile reader crashed</source>
        <translation>el lector de metarchivos se cerró inesperadamente</translation>
    </message>
    <message>
        <source>the metafile reader gave an unreadable reply</source>
        <translation>el lector de metarchivos dio una respuesta ilegible</translation>
    </message>
    <message>
        <source>the file is shorter than its header says (%1 of %2 bytes)</source>
        <translation>el archivo es más corto de lo que indica su cabecera (%1 de %2 bytes)</translation>
    </message>
    <message>
        <source>the file ends before its picture does</source>
        <translation>el archivo termina antes que su imagen</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels, more than this program takes (%3 pixels a side, %4 million pixels in all)</source>
        <translation>la imagen tiene %1 × %2 píxeles, más de lo que admite este programa (%3 píxeles por lado, %4 millones de píxeles en total)</translation>
    </message>
    <message>
        <source>the picture data is damaged or incomplete (%1)</source>
        <translation>los datos de la imagen están dañados o incompletos (%1)</translation>
    </message>
    <message>
        <source>its scans could not be counted</source>
        <translation>no se pudieron contar sus barridos</translation>
    </message>
    <message>
        <source>a marker that no JPEG decoder takes</source>
        <translation>un marcador que ningún decodificador JPEG admite</translation>
    </message>
    <message>
        <source>more than %1 scans</source>
        <translation>más de %1 barridos</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing is empty</source>
        <translation>el dibujo del metarchivo está vacío</translation>
    </message>
    <message>
        <source>the file changed while it was read</source>
        <translation>el archivo cambió mientras se leía</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>es una carpeta, no un archivo</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>no es un archivo normal</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>el archivo está vacío</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels</source>
        <translation>la imagen tiene %1 × %2 píxeles</translation>
    </message>
    <message>
        <source>it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture</source>
        <translation>no es una imagen BMP, GIF, JPEG, PNG, EMF ni WMF</translation>
    </message>
    <message>
        <source>there is no picture to save</source>
        <translation>no hay ninguna imagen que guardar</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>no se pudo codificar la imagen</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 píxeles</translation>
    </message>
</context>
<context>
    <name>Print</name>
    <message>
        <source>The picture could not be printed: there is not enough memory for it, or the printer did not take it.</source>
        <translation>No se pudo imprimir la imagen: no hay memoria suficiente para ella o la impresora no la aceptó.</translation>
    </message>
    <message>
        <source>The picture could not be printed: %1.</source>
        <translation>No se pudo imprimir la imagen: %1.</translation>
    </message>
</context>
<context>
    <name>Save</name>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>Imagen JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Imagen de mapa de bits (*.bmp)</translation>
    </message>
    <message>
        <source>The picture was not saved as %1: %2.</source>
        <translation>La imagen no se guardó como %1: %2.</translation>
    </message>
    <message>
        <source>

It is kept in the BMP file %1.</source>
        <translation>

Se conserva en el archivo BMP %1.</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Guardar imagen</translation>
    </message>
    <message>
        <source>a file of that name exists already; save with the full name to replace it</source>
        <translation>ya existe un archivo con ese nombre; guarde con el nombre completo para reemplazarlo</translation>
    </message>
</context>
<context>
    <name>SaveAll</name>
    <message>
        <source>%1 of %2 pictures were not saved in %3.</source>
        <translation>Imágenes no guardadas en %3: %1 de %2.</translation>
    </message>
    <message>
        <source>it was written, but is gone since</source>
        <translation>se escribió, pero ya no está</translation>
    </message>
    <message>
        <source>

%1 of them could not be converted and are kept there as BMP files.</source>
        <translation>

No convertidas y conservadas allí como archivos BMP: %1.</translation>
    </message>
    <message>
        <source>Select folder where you want to save all the images:</source>
        <translation>Seleccione la carpeta donde desea guardar todas las imágenes:</translation>
    </message>
    <message>
        <source>Save all is done.</source>
        <translation>Se guardaron todas las imágenes.</translation>
    </message>
    <message>
        <source>Save all into %1 did not finish: %2.</source>
        <translation>Guardar todo en %1 no terminó: %2.</translation>
    </message>
</context>
<context>
    <name>Viewers</name>
    <message>
        <source>There is not enough memory to show this picture.</source>
        <translation>No hay memoria suficiente para mostrar esta imagen.</translation>
    </message>
</context>
<context>
    <name>formCapture</name>
    <message>
        <source>Pictavo - [Use PrintScreen key to capture screen]</source>
        <translation>Pictavo - [Use la tecla Impr Pant para capturar la pantalla]</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Guardar...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>Guardar &amp;todo</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Abrir...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimir...</translation>
    </message>
    <message>
        <source>Cop&amp;y to Clipboard</source>
        <translation>&amp;Copiar al portapapeles</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Eliminar</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Vaciar</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>E&amp;xaminar...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Acerca de...</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galería</translation>
    </message>
    <message>
        <source>The command did not finish: %1.</source>
        <translation>La orden no terminó: %1.</translation>
    </message>
</context>
<context>
    <name>formZoom</name>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Guardar...</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Imagen de mapa de bits (*.bmp)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Guardar imagen</translation>
    </message>
    <message>
        <source>The picture could not be saved as &quot;%1&quot;: %2.</source>
        <translation>No se pudo guardar la imagen como «%1»: %2.</translation>
    </message>
</context>
</TS>
