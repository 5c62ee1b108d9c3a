<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>About</name>
    <message>
        <source>Pictavo, copyright (c) 2026 the Pictavo authors</source>
        <translation>Pictavo, copyright (c) 2026 os autores do Pictavo</translation>
    </message>
</context>
<context>
    <name>Browse</name>
    <message>
        <source>Loading Image %1</source>
        <translation>Carregando imagem %1</translation>
    </message>
    <message>
        <source>Select the desired folder:</source>
        <translation>Selecione a pasta desejada:</translation>
    </message>
    <message>
        <source>Loading Images...</source>
        <translation>Carregando imagens...</translation>
    </message>
    <message>
        <source>Loading stopped at &quot;%1&quot;, which could not be opened: %2.</source>
        <translation>O carregamento parou em &quot;%1&quot;, que não pôde ser aberto: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>não é uma imagem</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>it</source>
        <translation>o conversor</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded: %1</source>
        <translation>não foi possível carregar o conversor JPEG: %1</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded (%1)</source>
        <translation>não foi possível carregar o conversor JPEG (%1)</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it does not say its interface version</source>
        <translation>o conversor JPEG %1 foi recusado: ele não informa sua versão de interface</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has interface version %2, this program needs %3</source>
        <translation>o conversor JPEG %1 foi recusado: ele tem a versão de interface %2, este programa precisa da %3</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has no BmpToJpeg</source>
        <translation>o conversor JPEG %1 foi recusado: ele não tem BmpToJpeg</translation>
    </message>
    <message>
        <source>there was not enough memory to convert it to JPEG</source>
        <translation>não havia memória suficiente para convertê-la em JPEG</translation>
    </message>
    <message>
        <source>the JPEG converter could not read the picture: %1</source>
        <translation>o conversor JPEG não conseguiu ler a imagem: %1</translation>
    </message>
    <message>
        <source>the JPEG converter does not take this kind of bitmap</source>
        <translation>o conversor JPEG não aceita este tipo de bitmap</translation>
    </message>
    <message>
        <source>the JPEG converter could not encode the picture</source>
        <translation>o conversor JPEG não conseguiu codificar a imagem</translation>
    </message>
    <message>
        <source>the JPEG file could not be written: %1</source>
        <translation>não foi possível gravar o arquivo JPEG: %1</translation>
    </message>
    <message>
        <source>the JPEG converter refused the file names it was given</source>
        <translation>o conversor JPEG recusou os nomes de arquivo recebidos</translation>
    </message>
</context>
<context>
    <name>Copy</name>
    <message>
        <source>The picture was not copied to the clipboard: %1.</source>
        <translation>A imagem não foi copiada para a área de transferência: %1.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was looked for in %2, which is missing</source>
        <translation>%1 foi procurado em %2, que não existe</translation>
    </message>
    <message>
        <source>%1 was looked for in %2, which cannot be read (%3)</source>
        <translation>%1 foi procurado em %2, que não pode ser lido (%3)</translation>
    </message>
    <message>
        <source>%1 is missing: %2 (%3)</source>
        <translation>%1 não existe: %2 (%3)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2 (%3)</source>
        <translation>%1 não pode ser lido: %2 (%3)</translation>
    </message>
    <message>
        <source>the existing file is not writable (%1)</source>
        <translation>o arquivo existente não pode ser gravado (%1)</translation>
    </message>
    <message>
        <source>it is a link that leads to no file (%1)</source>
        <translation>é um link que não leva a nenhum arquivo (%1)</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>the work ended without a result</source>
        <translation>o trabalho terminou sem resultado</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>não há memória suficiente para isso</translation>
    </message>
    <message>
        <source>an unexpected error occurred</source>
        <translation>ocorreu um erro inesperado</translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 não existe.
Deseja criá-lo?</translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>All Graphics</source>
        <translation>Todas as imagens</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Abrir imagem</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened: %2.</source>
        <translation>Não foi possível abrir o arquivo &quot;%1&quot;: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>não é uma imagem</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not opened: the picture it was to replace changed while it loaded.</source>
        <translation>O arquivo &quot;%1&quot; não foi aberto: a imagem que ele substituiria mudou durante o carregamento.</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>there is no picture in this entry</source>
        <translation>esta entrada não contém nenhuma imagem</translation>
    </message>
    <message>
        <source>the file is missing or empty after writing</source>
        <translation>o arquivo está ausente ou vazio após a gravação</translation>
    </message>
    <message>
        <source>the JPEG converter left no file there</source>
        <translation>o conversor JPEG não deixou nenhum arquivo lá</translation>
    </message>
    <message>
        <source>there is not enough memory for the picture</source>
        <translation>não há memória suficiente para a imagem</translation>
    </message>
    <message>
        <source>the file could not be read</source>
        <translation>não foi possível ler o arquivo</translation>
    </message>
    <message>
        <source>there is not enough memory to decode the picture</source>
        <translation>não há memória suficiente para decodificar a imagem</translation>
    </message>
    <message>
        <source>the file is not an EMF or WMF file</source>
        <translation>o arquivo não é um arquivo EMF ou WMF</translation>
    </message>
    <message>
        <source>the file is too large for the metafile reader</source>
        <translation>o arquivo é grande demais para o leitor de metarquivos</translation>
    </message>
    <message>
        <source>the metafile is damaged</source>
        <translation>o metarquivo está danificado</translation>
    </message>
    <message>
        <source>the metafile&apos;s picture size is empty or too large</source>
        <translation>o tamanho da imagem do metarquivo é vazio ou grande demais</translation>
    </message>
    <message>
        <source>the metafile reader could not convert the file</source>
        <translation>o leitor de metarquivos não conseguiu converter o arquivo</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing cannot be shown</source>
        <translation>o desenho do metarquivo não pode ser exibido</translation>
    </message>
    <message>
        <source>the metafile reader failed (exit code %1)</source>
        <translation>o leitor de metarquivos falhou (código de saída %1)</translation>
    </message>
    <message>
        <source>the metafile reader</source>
        <translation>o leitor de metarquivos</translation>
    </message>
    <message>
        <source>the metafile reader could not be started: %1</source>
        <translation>não foi possível iniciar o leitor de metarquivos: %1</translation>
    </message>
    <message>
        <source>the metafile reader took too long</source>
        <translation>o leitor de metarquivos demorou demais</translation>
    </message>
    <message>
        <source>the metafile reader&apos;s reply is too large</source>
        <translation>a resposta do leitor de metarquivos é grande demais</translation>
    </message>
    <message>
        <source>the metafile reader crashed</source>
        <translation>o leitor de metarquivos travou</translation>
    </message>
    <message>
        <source>the metafile reader gave an unreadable reply</source>
        <translation>o leitor de metarquivos deu uma resposta ilegível</translation>
    </message>
    <message>
        <source>the file is shorter than its header says (%1 of %2 bytes)</source>
        <translation>o arquivo é menor do que seu cabeçalho indica (%1 de %2 bytes)</translation>
    </message>
    <message>
        <source>the file ends before its picture does</source>
        <translation>o arquivo termina antes de sua imagem</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels, more than this program takes (%3 pixels a side, %4 million pixels in all)</source>
        <translation>a imagem tem %1 × %2 pixels, mais do que este programa aceita (%3 pixels por lado, %4 milhões de pixels no total)</translation>
    </message>
    <message>
        <source>the picture data is damaged or incomplete (%1)</source>
        <translation>os dados da imagem estão danificados ou incompletos (%1)</translation>
    </message>
    <message>
        <source>its scans could not be counted</source>
        <translation>não foi possível contar suas varreduras</translation>
    </message>
    <message>
        <source>a marker that no JPEG decoder takes</source>
        <translation>um marcador que nenhum decodificador JPEG aceita</translation>
    </message>
    <message>
        <source>more than %1 scans</source>
        <translation>mais de %1 varreduras</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing is empty</source>
        <translation>o desenho do metarquivo está vazio</translation>
    </message>
    <message>
        <source>the file changed while it was read</source>
        <translation>o arquivo mudou enquanto era lido</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>é uma pasta, não um arquivo</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>não é um arquivo comum</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>o arquivo está vazio</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels</source>
        <translation>a imagem tem %1 × %2 pixels</translation>
    </message>
    <message>
        <source>it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture</source>
        <translation>não é uma imagem BMP, GIF, JPEG, PNG, EMF ou WMF</translation>
    </message>
    <message>
        <source>there is no picture to save</source>
        <translation>não há nenhuma imagem para salvar</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>não foi possível codificar a imagem</translation>
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
        <translation>Não foi possível imprimir a imagem: não há memória suficiente para ela, ou a impressora não a aceitou.</translation>
    </message>
    <message>
        <source>The picture could not be printed: %1.</source>
        <translation>Não foi possível imprimir a imagem: %1.</translation>
    </message>
</context>
<context>
    <name>Save</name>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>Imagem JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Imagem bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>The picture was not saved as %1: %2.</source>
        <translation>A imagem não foi salva como %1: %2.</translation>
    </message>
    <message>
        <source>

It is kept in the BMP file %1.</source>
        <translation>

Ela foi mantida no arquivo BMP %1.</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Salvar imagem</translation>
    </message>
    <message>
        <source>a file of that name exists already; save with the full name to replace it</source>
        <translation>já existe um arquivo com esse nome; salve com o nome completo para substituí-lo</translation>
    </message>
</context>
<context>
    <name>SaveAll</name>
    <message>
        <source>%1 of %2 pictures were not saved in %3.</source>
        <translation>Imagens não salvas em %3: %1 de %2.</translation>
    </message>
    <message>
        <source>it was written, but is gone since</source>
        <translation>foi gravado, mas desapareceu desde então</translation>
    </message>
    <message>
        <source>

%1 of them could not be converted and are kept there as BMP files.</source>
        <translation>

Não convertidas e mantidas lá como arquivos BMP: %1.</translation>
    </message>
    <message>
        <source>Select folder where you want to save all the images:</source>
        <translation>Selecione a pasta onde deseja salvar todas as imagens:</translation>
    </message>
    <message>
        <source>Save all is done.</source>
        <translation>Todas as imagens foram salvas.</translation>
    </message>
    <message>
        <source>Save all into %1 did not finish: %2.</source>
        <translation>Salvar tudo em %1 não terminou: %2.</translation>
    </message>
</context>
<context>
    <name>Viewers</name>
    <message>
        <source>There is not enough memory to show this picture.</source>
        <translation>Não há memória suficiente para exibir esta imagem.</translation>
    </message>
</context>
<context>
    <name>formCapture</name>
    <message>
        <source>Pictavo - [Use PrintScreen key to capture screen]</source>
        <translation>Pictavo - [Use a tecla Print Screen para capturar a tela]</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Salvar...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>Salvar &amp;todas</translation>
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
        <translation>&amp;Copiar para a área de transferência</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Excluir</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>&amp;Limpar</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Procurar...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>Sobre...</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Galeria</translation>
    </message>
    <message>
        <source>The command did not finish: %1.</source>
        <translation>O comando não terminou: %1.</translation>
    </message>
</context>
<context>
    <name>formZoom</name>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Salvar...</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Imagem bitmap (*.bmp)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Salvar imagem</translation>
    </message>
    <message>
        <source>The picture could not be saved as &quot;%1&quot;: %2.</source>
        <translation>Não foi possível salvar a imagem como &quot;%1&quot;: %2.</translation>
    </message>
</context>
</TS>
