<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>About</name>
    <message>
        <source>Pictavo, copyright (c) 2026 the Pictavo authors</source>
        <translation>Pictavo, © 2026 авторы Pictavo</translation>
    </message>
</context>
<context>
    <name>Browse</name>
    <message>
        <source>Loading Image %1</source>
        <translation>Загрузка изображения %1</translation>
    </message>
    <message>
        <source>Select the desired folder:</source>
        <translation>Выберите нужную папку:</translation>
    </message>
    <message>
        <source>Loading Images...</source>
        <translation>Загрузка изображений...</translation>
    </message>
    <message>
        <source>Loading stopped at &quot;%1&quot;, which could not be opened: %2.</source>
        <translation>Загрузка остановлена на файле «%1», который не удалось открыть: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>это не изображение</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>it</source>
        <translation>его</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded: %1</source>
        <translation>не удалось загрузить конвертер JPEG: %1</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded (%1)</source>
        <translation>не удалось загрузить конвертер JPEG (%1)</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it does not say its interface version</source>
        <translation>конвертер JPEG %1 отклонён: он не сообщает версию интерфейса</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has interface version %2, this program needs %3</source>
        <translation>конвертер JPEG %1 отклонён: у него версия интерфейса %2, а программе нужна %3</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has no BmpToJpeg</source>
        <translation>конвертер JPEG %1 отклонён: в нём нет BmpToJpeg</translation>
    </message>
    <message>
        <source>there was not enough memory to convert it to JPEG</source>
        <translation>недостаточно памяти для преобразования в JPEG</translation>
    </message>
    <message>
        <source>the JPEG converter could not read the picture: %1</source>
        <translation>конвертер JPEG не смог прочитать изображение: %1</translation>
    </message>
    <message>
        <source>the JPEG converter does not take this kind of bitmap</source>
        <translation>конвертер JPEG не принимает такой вид точечного рисунка</translation>
    </message>
    <message>
        <source>the JPEG converter could not encode the picture</source>
        <translation>конвертер JPEG не смог закодировать изображение</translation>
    </message>
    <message>
        <source>the JPEG file could not be written: %1</source>
        <translation>не удалось записать файл JPEG: %1</translation>
    </message>
    <message>
        <source>the JPEG converter refused the file names it was given</source>
        <translation>конвертер JPEG отклонил переданные имена файлов</translation>
    </message>
</context>
<context>
    <name>Copy</name>
    <message>
        <source>The picture was not copied to the clipboard: %1.</source>
        <translation>Изображение не скопировано в буфер обмена: %1.</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was looked for in %2, which is missing</source>
        <translation>%1 искали в %2, но этой папки нет</translation>
    </message>
    <message>
        <source>%1 was looked for in %2, which cannot be read (%3)</source>
        <translation>%1 искали в %2, но эту папку не удаётся прочитать (%3)</translation>
    </message>
    <message>
        <source>%1 is missing: %2 (%3)</source>
        <translation>%1 не удалось найти: %2 (%3)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2 (%3)</source>
        <translation>%1 не удалось прочитать: %2 (%3)</translation>
    </message>
    <message>
        <source>the existing file is not writable (%1)</source>
        <translation>существующий файл недоступен для записи (%1)</translation>
    </message>
    <message>
        <source>it is a link that leads to no file (%1)</source>
        <translation>это ссылка, которая не ведёт ни к одному файлу (%1)</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>the work ended without a result</source>
        <translation>работа завершилась без результата</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>для этого недостаточно памяти</translation>
    </message>
    <message>
        <source>an unexpected error occurred</source>
        <translation>произошла непредвиденная ошибка</translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 не существует.
Создать этот файл?</translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>All Graphics</source>
        <translation>Все изображения</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>Открыть изображение</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened: %2.</source>
        <translation>Не удалось открыть файл «%1»: %2.</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>это не изображение</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not opened: the picture it was to replace changed while it loaded.</source>
        <translation>Файл «%1» не открыт: изображение, которое он должен был заменить, изменилось во время загрузки.</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>there is no picture in this entry</source>
        <translation>в этой ячейке нет изображения</translation>
    </message>
    <message>
        <source>the file is missing or empty after writing</source>
        <translation>после записи файл отсутствует или пуст</translation>
    </message>
    <message>
        <source>the JPEG converter left no file there</source>
        <translation>конвертер JPEG не создал там файл</translation>
    </message>
    <message>
        <source>there is not enough memory for the picture</source>
        <translation>недостаточно памяти для изображения</translation>
    </message>
    <message>
        <source>the file could not be read</source>
        <translation>не удалось прочитать файл</translation>
    </message>
    <message>
        <source>there is not enough memory to decode the picture</source>
        <translation>недостаточно памяти для декодирования изображения</translation>
    </message>
    <message>
        <source>the file is not an EMF or WMF file</source>
        <translation>файл не является файлом EMF или WMF</translation>
    </message>
    <message>
        <source>the file is too large for the metafile reader</source>
        <translation>файл слишком велик для модуля чтения метафайлов</translation>
    </message>
    <message>
        <source>the metafile is damaged</source>
        <translation>метафайл повреждён</translation>
    </message>
    <message>
        <source>the metafile&apos;s picture size is empty or too large</source>
        <translation>размер изображения в метафайле нулевой или слишком большой</translation>
    </message>
    <message>
        <source>the metafile reader could not convert the file</source>
        <translation>модулю чтения метафайлов не удалось преобразовать файл</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing cannot be shown</source>
        <translation>рисунок метафайла невозможно показать</translation>
    </message>
    <message>
        <source>the metafile reader failed (exit code %1)</source>
        <translation>ошибка модуля чтения метафайлов (код завершения %1)</translation>
    </message>
    <message>
        <source>the metafile reader</source>
        <translation>модуль чтения метафайлов</translation>
    </message>
    <message>
        <source>the metafile reader could not be started: %1</source>
        <translation>не удалось запустить модуль чтения метафайлов: %1</translation>
    </message>
    <message>
        <source>the metafile reader took too long</source>
        <translation>модуль чтения метафайлов работал слишком долго</translation>
    </message>
    <message>
        <source>the metafile reader&apos;s reply is too large</source>
        <translation>ответ модуля чтения метафайлов слишком велик</translation>
    </message>
    <message>
        <source>the metafile reader crashed</source>
        <translation>модуль чтения метафайлов аварийно завершился</translation>
    </message>
    <message>
        <source>the metafile reader gave an unreadable reply</source>
        <translation>модуль чтения метафайлов дал нечитаемый ответ</translation>
    </message>
    <message>
        <source>the file is shorter than its header says (%1 of %2 bytes)</source>
        <translation>файл короче, чем указано в его заголовке (%1 из %2 байт)</translation>
    </message>
    <message>
        <source>the file ends before its picture does</source>
        <translation>файл обрывается раньше, чем заканчивается изображение</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels, more than this program takes (%3 pixels a side, %4 million pixels in all)</source>
        <translation>изображение размером %1 × %2 пикселей больше, чем принимает эта программа (%3 пикселей по стороне, всего %4 млн пикселей)</translation>
    </message>
    <message>
        <source>the picture data is damaged or incomplete (%1)</source>
        <translation>данные изображения повреждены или неполны (%1)</translation>
    </message>
    <message>
        <source>its scans could not be counted</source>
        <translation>не удалось подсчитать его сканы</translation>
    </message>
    <message>
        <source>a marker that no JPEG decoder takes</source>
        <translation>маркер, который не принимает ни один декодер JPEG</translation>
    </message>
    <message>
        <source>more than %1 scans</source>
        <translation>больше %1 сканов</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing is empty</source>
        <translation>рисунок метафайла пуст</translation>
    </message>
    <message>
        <source>the file changed while it was read</source>
        <translation>файл изменился во время чтения</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>это папка, а не файл</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>это не обычный файл</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>файл пуст</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels</source>
        <translation>изображение размером %1 × %2 пикселей</translation>
    </message>
    <message>
        <source>it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture</source>
        <translation>это не изображение BMP, GIF, JPEG, PNG, EMF или WMF</translation>
    </message>
    <message>
        <source>there is no picture to save</source>
        <translation>нет изображения для сохранения</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>не удалось закодировать изображение</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 пикселей</translation>
    </message>
</context>
<context>
    <name>Print</name>
    <message>
        <source>The picture could not be printed: there is not enough memory for it, or the printer did not take it.</source>
        <translation>Не удалось напечатать изображение: для него недостаточно памяти, или принтер его не принял.</translation>
    </message>
    <message>
        <source>The picture could not be printed: %1.</source>
        <translation>Не удалось напечатать изображение: %1.</translation>
    </message>
</context>
<context>
    <name>Save</name>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>Изображение JPEG (*.jpg)</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Точечный рисунок (*.bmp)</translation>
    </message>
    <message>
        <source>The picture was not saved as %1: %2.</source>
        <translation>Изображение не сохранено как %1: %2.</translation>
    </message>
    <message>
        <source>

It is kept in the BMP file %1.</source>
        <translation>

Оно сохранено в файле BMP %1.</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Сохранить изображение</translation>
    </message>
    <message>
        <source>a file of that name exists already; save with the full name to replace it</source>
        <translation>файл с таким именем уже существует; чтобы заменить его, сохраните с полным именем</translation>
    </message>
</context>
<context>
    <name>SaveAll</name>
    <message>
        <source>%1 of %2 pictures were not saved in %3.</source>
        <translation>Изображения, не сохранённые в %3: %1 из %2.</translation>
    </message>
    <message>
        <source>it was written, but is gone since</source>
        <translation>файл был записан, но с тех пор исчез</translation>
    </message>
    <message>
        <source>

%1 of them could not be converted and are kept there as BMP files.</source>
        <translation>

Из них не преобразованы и оставлены там как файлы BMP: %1.</translation>
    </message>
    <message>
        <source>Select folder where you want to save all the images:</source>
        <translation>Выберите папку, в которую нужно сохранить все изображения:</translation>
    </message>
    <message>
        <source>Save all is done.</source>
        <translation>Все изображения сохранены.</translation>
    </message>
    <message>
        <source>Save all into %1 did not finish: %2.</source>
        <translation>Сохранение всего в %1 не завершено: %2.</translation>
    </message>
</context>
<context>
    <name>Viewers</name>
    <message>
        <source>There is not enough memory to show this picture.</source>
        <translation>Недостаточно памяти для показа этого изображения.</translation>
    </message>
</context>
<context>
    <name>formCapture</name>
    <message>
        <source>Pictavo - [Use PrintScreen key to capture screen]</source>
        <translation>Pictavo - [Нажмите Print Screen, чтобы сделать снимок экрана]</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Сохранить...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>Сохранить &amp;все</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Открыть...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Печать...</translation>
    </message>
    <message>
        <source>Cop&amp;y to Clipboard</source>
        <translation>&amp;Копировать в буфер обмена</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Удалить</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>О&amp;чистить</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>Об&amp;зор...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>О программе...</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>Галерея</translation>
    </message>
    <message>
        <source>The command did not finish: %1.</source>
        <translation>Команда не завершена: %1.</translation>
    </message>
</context>
<context>
    <name>formZoom</name>
    <message>
        <source>&amp;Save...</source>
        <translation>&amp;Сохранить...</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>Точечный рисунок (*.bmp)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>Сохранить изображение</translation>
    </message>
    <message>
        <source>The picture could not be saved as &quot;%1&quot;: %2.</source>
        <translation>Не удалось сохранить изображение как «%1»: %2.</translation>
    </message>
</context>
</TS>
