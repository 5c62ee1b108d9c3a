<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>About</name>
    <message>
        <source>Pictavo, copyright (c) 2026 the Pictavo authors</source>
        <translation>Pictavo, copyright (c) 2026 les auteurs de Pictavo</translation>
    </message>
</context>
<context>
    <name>Browse</name>
    <message>
        <source>Loading Image %1</source>
        <translation>Chargement de l&apos;image %1</translation>
    </message>
    <message>
        <source>Select the desired folder:</source>
        <translation>Sélectionnez le dossier souhaité :</translation>
    </message>
    <message>
        <source>Loading Images...</source>
        <translation>Chargement des images...</translation>
    </message>
    <message>
        <source>Loading stopped at &quot;%1&quot;, which could not be opened: %2.</source>
        <translation>Chargement arrêté à « %1 », qui n&apos;a pas pu être ouvert : %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>ce n&apos;est pas une image</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>it</source>
        <translation>il</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded: %1</source>
        <translation>le convertisseur JPEG n&apos;a pas pu être chargé : %1</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded (%1)</source>
        <translation>le convertisseur JPEG n&apos;a pas pu être chargé (%1)</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it does not say its interface version</source>
        <translation>le convertisseur JPEG %1 est refusé : il n&apos;indique pas sa version d&apos;interface</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has interface version %2, this program needs %3</source>
        <translation>le convertisseur JPEG %1 est refusé : il a la version d&apos;interface %2, ce programme a besoin de la %3</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has no BmpToJpeg</source>
        <translation>le convertisseur JPEG %1 est refusé : il n&apos;a pas de BmpToJpeg</translation>
    </message>
    <message>
        <source>there was not enough memory to convert it to JPEG</source>
        <translation>la mémoire ne suffisait pas pour la convertir en JPEG</translation>
    </message>
    <message>
        <source>the JPEG converter could not read the picture: %1</source>
        <translation>le convertisseur JPEG n&apos;a pas pu lire l&apos;image : %1</translation>
    </message>
    <message>
        <source>the JPEG converter does not take this kind of bitmap</source>
        <translation>le convertisseur JPEG n&apos;accepte pas ce type de bitmap</translation>
    </message>
    <message>
        <source>the JPEG converter could not encode the picture</source>
        <translation>le convertisseur JPEG n&apos;a pas pu encoder l&apos;image</translation>
    </message>
    <message>
        <source>the JPEG file could not be written: %1</source>
        <translation>le fichier JPEG n&apos;a pas pu être écrit : %1</translation>
    </message>
    <message>
        <source>the JPEG converter refused the file names it was given</source>
        <translation>le convertisseur JPEG a refusé les noms de fichier reçus</translation>
    </message>
</context>
<context>
    <name>Copy</name>
    <message>
        <source>The picture was not copied to the clipboard: %1.</source>
        <translation>L&apos;image n&apos;a pas été copiée dans le presse-papiers : %1.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was looked for in %2, which is missing</source>
        <translation>%1 a été cherché dans %2, qui n&apos;existe pas</translation>
    </message>
    <message>
        <source>%1 was looked for in %2, which cannot be read (%3)</source>
        <translation>%1 a été cherché dans %2, qui est illisible (%3)</translation>
    </message>
    <message>
        <source>%1 is missing: %2 (%3)</source>
        <translation>%1 est introuvable : %2 (%3)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2 (%3)</source>
        <translation>%1 est illisible : %2 (%3)</translation>
    </message>
    <message>
        <source>the existing file is not writable (%1)</source>
        <translation>le fichier existant n&apos;est pas accessible en écriture (%1)</translation>
    </message>
    <message>
        <source>it is a link that leads to no file (%1)</source>
        <translation>c&apos;est un lien qui ne mène à aucun fichier (%1)</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>the work ended without a result</source>
        <translation>le travail s&apos;est terminé sans résultat</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>la mémoire disponible ne suffit pas</translation>
    </message>
    <message>
        <source>an unexpected error occurred</source>
        <translation>une erreur inattendue s&apos;est produite</translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 n&apos;existe pas.
Voulez-vous le créer ?</translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>All Graphics</source>
        <translation>Toutes les images</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Ouvrir une image</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened: %2.</source>
        <translation>Le fichier « %1 » n&apos;a pas pu être ouvert : %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>ce n&apos;est pas une image</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not opened: the picture it was to replace changed while it loaded.</source>
        <translation>Le fichier « %1 » n&apos;a pas été ouvert : l&apos;image qu&apos;il devait remplacer a changé pendant le chargement.</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>there is no picture in this entry</source>
        <translation>cette entrée ne contient aucune image</translation>
    </message>
    <message>
        <source>the file is missing or empty after writing</source>
        <translation>le fichier est absent ou vide après l&apos;écriture</translation>
    </message>
    <message>
        <source>the JPEG converter left no file there</source>
        <translation>le convertisseur JPEG n&apos;y a laissé aucun fichier</translation>
    </message>
    <message>
        <source>there is not enough memory for the picture</source>
        <translation>la mémoire est insuffisante pour l&apos;image</translation>
    </message>
    <message>
        <source>the file could not be read</source>
        <translation>le fichier n&apos;a pas pu être lu</translation>
    </message>
    <message>
        <source>there is not enough memory to decode the picture</source>
        <translation>la mémoire est insuffisante pour décoder l&apos;image</translation>
    </message>
    <message>
        <source>the file is not an EMF or WMF file</source>
        <translation>le fichier n&apos;est pas un fichier EMF ou WMF</translation>
    </message>
    <message>
        <source>the file is too large for the metafile reader</source>
        <translation>le fichier est trop gros pour le lecteur de métafichiers</translation>
    </message>
    <message>
        <source>the metafile is damaged</source>
        <translation>le métafichier est endommagé</translation>
    </message>
    <message>
        <source>the metafile&apos;s picture size is empty or too large</source>
        <translation>la taille de l&apos;image du métafichier est nulle ou trop grande</translation>
    </message>
    <message>
        <source>the metafile reader could not convert the file</source>
        <translation>le lecteur de métafichiers n&apos;a pas pu convertir le fichier</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing cannot be shown</source>
        <translation>le dessin du métafichier ne peut pas être affiché</translation>
    </message>
    <message>
        <source>the metafile reader failed (exit code %1)</source>
        <translation>le lecteur de métafichiers a échoué (code de sortie %1)</translation>
    </message>
    <message>
        <source>the metafile reader</source>
        <translation>le lecteur de métafichiers</translation>
    </message>
    <message>
        <source>the metafile reader could not be started: %1</source>
        <translation>le lecteur de métafichiers n&apos;a pas pu être lancé : %1</translation>
    </message>
    <message>
        <source>the metafile reader took too long</source>
        <translation>le lecteur de métafichiers a mis trop de temps</translation>
    </message>
    <message>
        <source>the metafile reader&apos;s reply is too large</source>
        <translation>la réponse du lecteur de métafichiers est trop volumineuse</translation>
    </message>
    <message>
        <source>the metafile reader crashed</source>
        <translation>le lecteur de métafichiers a planté</translation>
    </message>
    <message>
        <source>the metafile reader gave an unreadable reply</source>
        <translation>le lecteur de métafichiers a donné une réponse illisible</translation>
    </message>
    <message>
        <source>the file is shorter than its header says (%1 of %2 bytes)</source>
        <translation>le fichier est plus court que ne l&apos;indique son en-tête (%1 octets sur %2)</translation>
    </message>
    <message>
        <source>the file ends before its picture does</source>
        <translation>le fichier se termine avant son image</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels, more than this program takes (%3 pixels a side, %4 million pixels in all)</source>
        <translation>l&apos;image fait %1 × %2 pixels, plus que ce que ce programme accepte (%3 pixels de côté, %4 millions de pixels au total)</translation>
    </message>
    <message>
        <source>the picture data is damaged or incomplete (%1)</source>
        <translation>les données de l&apos;image sont endommagées ou incomplètes (%1)</translation>
    </message>
    <message>
        <source>its scans could not be counted</source>
        <translation>ses passes n&apos;ont pas pu être comptées</translation>
    </message>
    <message>
        <source>a marker that no JPEG decoder takes</source>
        <translation>un marqueur qu&apos;aucun décodeur JPEG n&apos;accepte</translation>
    </message>
    <message>
        <source>more than %1 scans</source>
        <translation>plus de %1 passes</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing is empty</source>
        <translation>le dessin du métafichier est vide</translation>
    </message>
    <message>
        <source>the file changed while it was read</source>
        <translation>le fichier a changé pendant sa lecture</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>c&apos;est un dossier, pas un fichier</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>ce n&apos;est pas un fichier ordinaire</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>le fichier est vide</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels</source>
        <translation>l&apos;image fait %1 × %2 pixels</translation>
    </message>
    <message>
        <source>it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture</source>
        <translation>ce n&apos;est pas une image BMP, GIF, JPEG, PNG, EMF ou WMF</translation>
    </message>
    <message>
        <source>there is no picture to save</source>
        <translation>il n&apos;y a aucune image à enregistrer</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>l&apos;image n&apos;a pas pu être encodée</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 pixels</translation>
    </message>
</context>
<context>
    <name>Print</name>
    <message>
        <source>The picture could not be printed: there is not enough memory for it, or the printer did not take it.</source>
        <translation>L&apos;image n&apos;a pas pu être imprimée : la mémoire est insuffisante, ou l&apos;imprimante ne l&apos;a pas acceptée.</translation>
    </message>
    <message>
        <source>The picture could not be printed: %1.</source>
        <translation>L&apos;image n&apos;a pas pu être imprimée : %1.</translation>
    </message>
</context>
<context>
    <name>Save</name>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>Image JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Image bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>The picture was not saved as %1: %2.</source>
        <translation>L&apos;image n&apos;a pas été enregistrée sous %1 : %2.</translation>
    </message>
    <message>
        <source>

It is kept in the BMP file %1.</source>
        <translation>

Elle est conservée dans le fichier BMP %1.</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Enregistrer l&apos;image</translation>
    </message>
    <message>
        <source>a file of that name exists already; save with the full name to replace it</source>
        <translation>un fichier de ce nom existe déjà ; enregistrez sous le nom complet pour le remplacer</translation>
    </message>
</context>
<context>
    <name>SaveAll</name>
    <message>
        <source>%1 of %2 pictures were not saved in %3.</source>
        <translation>Images non enregistrées dans %3 : %1 sur %2.</translation>
    </message>
    <message>
        <source>it was written, but is gone since</source>
        <translation>il a été écrit, mais a disparu depuis</translation>
    </message>
    <message>
        <source>

%1 of them could not be converted and are kept there as BMP files.</source>
        <translation>

Non converties et conservées là-bas comme fichiers BMP : %1.</translation>
    </message>
    <message>
        <source>Select folder where you want to save all the images:</source>
        <translation>Sélectionnez le dossier où enregistrer toutes les images :</translation>
    </message>
    <message>
        <source>Save all is done.</source>
        <translation>Toutes les images ont été enregistrées.</translation>
    </message>
    <message>
        <source>Save all into %1 did not finish: %2.</source>
        <translation>L&apos;enregistrement de tout dans %1 n&apos;a pas abouti : %2.</translation>
    </message>
</context>
<context>
    <name>Viewers</name>
    <message>
        <source>There is not enough memory to show this picture.</source>
        <translation>La mémoire est insuffisante pour afficher cette image.</translation>
    </message>
</context>
<context>
    <name>formCapture</name>
    <message>
        <source>Pictavo - [Use PrintScreen key to capture screen]</source>
        <translation>Pictavo - [Utilisez la touche Impr. écran pour capturer l&apos;écran]</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Enregistrer...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>Enregistrer &amp;tout</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Ouvrir...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Imprimer...</translation>
    </message>
    <message>
        <source>Cop&amp;y to Clipboard</source>
        <translation>&amp;Copier dans le presse-papiers</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Supprimer</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Vider</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Parcourir...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>À propos...</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galerie</translation>
    </message>
    <message>
        <source>The command did not finish: %1.</source>
        <translation>La commande n&apos;a pas abouti : %1.</translation>
    </message>
</context>
<context>
    <name>formZoom</name>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Enregistrer...</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Image bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Enregistrer l&apos;image</translation>
    </message>
    <message>
        <source>The picture could not be saved as &quot;%1&quot;: %2.</source>
        <translation>L&apos;image n&apos;a pas pu être enregistrée sous « %1 » : %2.</translation>
    </message>
</context>
</TS>
