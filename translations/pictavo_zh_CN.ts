<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>About</name>
    <message>
        <source>Pictavo, copyright (c) 2026 the Pictavo authors</source>
        <translation>Pictavo，版权所有 (c) 2026 Pictavo 作者</translation>
    </message>
</context>
<context>
    <name>Browse</name>
    <message>
        <source>Loading Image %1</source>
        <translation>正在载入图像 %1</translation>
    </message>
    <message>
        <source>Select the desired folder:</source>
        <translation>选择所需的文件夹：</translation>
    </message>
    <message>
        <source>Loading Images...</source>
        <translation>正在载入图像...</translation>
    </message>
    <message>
        <source>Loading stopped at &quot;%1&quot;, which could not be opened: %2.</source>
        <translation>载入在“%1”处停止，该文件无法打开：%2。</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>它不是图片</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>it</source>
        <translation>它</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded: %1</source>
        <translation>无法加载 JPEG 转换器：%1</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded (%1)</source>
        <translation>无法加载 JPEG 转换器（%1）</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it does not say its interface version</source>
        <translation>已拒绝 JPEG 转换器 %1：它未声明其接口版本</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has interface version %2, this program needs %3</source>
        <translation>已拒绝 JPEG 转换器 %1：其接口版本为 %2，本程序需要 %3</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has no BmpToJpeg</source>
        <translation>已拒绝 JPEG 转换器 %1：它没有 BmpToJpeg</translation>
    </message>
    <message>
        <source>there was not enough memory to convert it to JPEG</source>
        <translation>内存不足，无法转换为 JPEG</translation>
    </message>
    <message>
        <source>the JPEG converter could not read the picture: %1</source>
        <translation>JPEG 转换器无法读取图片：%1</translation>
    </message>
    <message>
        <source>the JPEG converter does not take this kind of bitmap</source>
        <translation>JPEG 转换器不接受这种位图</translation>
    </message>
    <message>
        <source>the JPEG converter could not encode the picture</source>
        <translation>JPEG 转换器无法编码图片</translation>
    </message>
    <message>
        <source>the JPEG file could not be written: %1</source>
        <translation>无法写入 JPEG 文件：%1</translation>
    </message>
    <message>
        <source>the JPEG converter refused the file names it was given</source>
        <translation>JPEG 转换器拒绝了给定的文件名</translation>
    </message>
</context>
<context>
    <name>Copy</name>
    <message>
        <source>The picture was not copied to the clipboard: %1.</source>
        <translation>图片未复制到剪贴板：%1。</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was looked for in %2, which is missing</source>
        <translation>在 %2 中查找%1，但该文件夹不存在</translation>
    </message>
    <message>
        <source>%1 was looked for in %2, which cannot be read (%3)</source>
        <translation>在 %2 中查找%1，但无法读取该文件夹（%3）</translation>
    </message>
    <message>
        <source>%1 is missing: %2 (%3)</source>
        <translation>找不到%1：%2（%3）</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2 (%3)</source>
        <translation>无法读取%1：%2（%3）</translation>
    </message>
    <message>
        <source>the existing file is not writable (%1)</source>
        <translation>现有文件不可写（%1）</translation>
    </message>
    <message>
        <source>it is a link that leads to no file (%1)</source>
        <translation>它是一个不指向任何文件的链接（%1）</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>the work ended without a result</source>
        <translation>工作结束时没有结果</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>内存不足</translation>
    </message>
    <message>
        <source>an unexpected error occurred</source>
        <translation>发生了意外错误</translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 不存在。
要创建它吗？</translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>All Graphics</source>
        <translation>所有图形</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>打开图像</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened: %2.</source>
        <translation>无法打开文件“%1”：%2。</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>它不是图片</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not opened: the picture it was to replace changed while it loaded.</source>
        <translation>未打开文件“%1”：要替换的图片在载入期间已更改。</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>there is no picture in this entry</source>
        <translation>此条目中没有图片</translation>
    </message>
    <message>
        <source>the file is missing or empty after writing</source>
        <translation>写入后文件缺失或为空</translation>
    </message>
    <message>
        <source>the JPEG converter left no file there</source>
        <translation>JPEG 转换器未在该处生成文件</translation>
    </message>
    <message>
        <source>there is not enough memory for the picture</source>
        <translation>内存不足，无法容纳该图片</translation>
    </message>
    <message>
        <source>the file could not be read</source>
        <translation>无法读取该文件</translation>
    </message>
    <message>
        <source>there is not enough memory to decode the picture</source>
        <translation>内存不足，无法解码该图片</translation>
    </message>
    <message>
        <source>the file is not an EMF or WMF file</source>
        <translation>该文件不是 EMF 或 WMF 文件</translation>
    </message>
    <message>
        <source>the file is too large for the metafile reader</source>
        <translation>该文件对图元文件读取程序来说太大</translation>
    </message>
    <message>
        <source>the metafile is damaged</source>
        <translation>图元文件已损坏</translation>
    </message>
    <message>
        <source>the metafile&apos;s picture size is empty or too large</source>
        <translation>图元文件的图片尺寸为空或过大</translation>
    </message>
    <message>
        <source>the metafile reader could not convert the file</source>
        <translation>图元文件读取程序无法转换该文件</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing cannot be shown</source>
        <translation>无法显示图元文件的绘图</translation>
    </message>
    <message>
        <source>the metafile reader failed (exit code %1)</source>
        <translation>图元文件读取程序失败（退出代码 %1）</translation>
    </message>
    <message>
        <source>the metafile reader</source>
        <translation>图元文件读取程序</translation>
    </message>
    <message>
        <source>the metafile reader could not be started: %1</source>
        <translation>无法启动图元文件读取程序：%1</translation>
    </message>
    <message>
        <source>the metafile reader took too long</source>
        <translation>图元文件读取程序耗时过长</translation>
    </message>
    <message>
        <source>the metafile reader&apos;s reply is too large</source>
        <translation>图元文件读取程序的回复过大</translation>
    </message>
    <message>
        <source>the metafile reader crashed</source>
        <translation>图元文件读取程序崩溃了</translation>
    </message>
    <message>
        <source>the metafile reader gave an unreadable reply</source>
        <translation>图元文件读取程序返回了无法读取的回复</translation>
    </message>
    <message>
        <source>the file is shorter than its header says (%1 of %2 bytes)</source>
        <translation>文件比其文件头所述的短（%1 / %2 字节）</translation>
    </message>
    <message>
        <source>the file ends before its picture does</source>
        <translation>文件在其图片结束前就已结束</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels, more than this program takes (%3 pixels a side, %4 million pixels in all)</source>
        <translation>图片为 %1 × %2 像素，超出本程序可接受的范围（每边 %3 像素，总计 %4 百万像素）</translation>
    </message>
    <message>
        <source>the picture data is damaged or incomplete (%1)</source>
        <translation>图片数据已损坏或不完整（%1）</translation>
    </message>
    <message>
        <source>its scans could not be counted</source>
        <translation>无法统计其扫描次数</translation>
    </message>
    <message>
        <source>a marker that no JPEG decoder takes</source>
        <translation>任何 JPEG 解码器都不接受的标记</translation>
    </message>
    <message>
        <source>more than %1 scans</source>
        <translation>超过 %1 次扫描</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing is empty</source>
        <translation>图元文件的绘图为空</translation>
    </message>
    <message>
        <source>the file changed while it was read</source>
        <translation>文件在读取期间发生了变化</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>这是文件夹，不是文件</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>这不是普通文件</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>文件为空</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels</source>
        <translation>图片为 %1 × %2 像素</translation>
    </message>
    <message>
        <source>it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture</source>
        <translation>这不是 BMP、GIF、JPEG、PNG、EMF 或 WMF 图片</translation>
    </message>
    <message>
        <source>there is no picture to save</source>
        <translation>没有可保存的图片</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>无法编码该图片</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 像素</translation>
    </message>
</context>
<context>
    <name>Print</name>
    <message>
        <source>The picture could not be printed: there is not enough memory for it, or the printer did not take it.</source>
        <translation>无法打印该图片：内存不足，或者打印机未接受它。</translation>
    </message>
    <message>
        <source>The picture could not be printed: %1.</source>
        <translation>无法打印图片：%1。</translation>
    </message>
</context>
<context>
    <name>Save</name>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>JPEG 图像 (*.jpg)</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>位图图像 (*.bmp)</translation>
    </message>
    <message>
        <source>The picture was not saved as %1: %2.</source>
        <translation>图片未保存为 %1：%2。</translation>
    </message>
    <message>
        <source>

It is kept in the BMP file %1.</source>
        <translation>

它保留在 BMP 文件 %1 中。</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>保存图像</translation>
    </message>
    <message>
        <source>a file of that name exists already; save with the full name to replace it</source>
        <translation>已存在同名文件；要替换它，请使用完整文件名保存</translation>
    </message>
</context>
<context>
    <name>SaveAll</name>
    <message>
        <source>%1 of %2 pictures were not saved in %3.</source>
        <translation>%2 张图片中有 %1 张未保存到 %3。</translation>
    </message>
    <message>
        <source>it was written, but is gone since</source>
        <translation>已写入，但之后消失了</translation>
    </message>
    <message>
        <source>

%1 of them could not be converted and are kept there as BMP files.</source>
        <translation>

其中 %1 张无法转换，已作为 BMP 文件保留在该处。</translation>
    </message>
    <message>
        <source>Select folder where you want to save all the images:</source>
        <translation>选择要保存所有图像的文件夹：</translation>
    </message>
    <message>
        <source>Save all is done.</source>
        <translation>已保存所有图像。</translation>
    </message>
    <message>
        <source>Save all into %1 did not finish: %2.</source>
        <translation>全部保存到 %1 未完成：%2。</translation>
    </message>
</context>
<context>
    <name>Viewers</name>
    <message>
        <source>There is not enough memory to show this picture.</source>
        <translation>内存不足，无法显示此图片。</translation>
    </message>
</context>
<context>
    <name>formCapture</name>
    <message>
        <source>Pictavo - [Use PrintScreen key to capture screen]</source>
        <translation>Pictavo - [按 PrintScreen 键截取屏幕]</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>保存(&amp;S)...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>全部保存(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>打开(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>打印(&amp;P)...</translation>
    </message>
    <message>
        <source>Cop&amp;y to Clipboard</source>
        <translation>复制到剪贴板(&amp;Y)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>删除(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>清空(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>浏览(&amp;B)...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>关于...</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>图库</translation>
    </message>
    <message>
        <source>The command did not finish: %1.</source>
        <translation>命令未完成：%1。</translation>
    </message>
</context>
<context>
    <name>formZoom</name>
    <message>
        <source>&amp;Save...</source>
        <translation>保存(&amp;S)...</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>位图图像 (*.bmp)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>保存图像</translation>
    </message>
    <message>
        <source>The picture could not be saved as &quot;%1&quot;: %2.</source>
        <translation>无法将图片保存为“%1”：%2。</translation>
    </message>
</context>
</TS>
