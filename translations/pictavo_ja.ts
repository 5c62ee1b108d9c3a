<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>About</name>
    <message>
        <source>Pictavo, copyright (c) 2026 the Pictavo authors</source>
        <translation>Pictavo、Copyright (c) 2026 Pictavo の作者</translation>
    </message>
</context>
<context>
    <name>Browse</name>
    <message>
        <source>Loading Image %1</source>
        <translation>画像 %1 を読み込み中</translation>
    </message>
    <message>
        <source>Select the desired folder:</source>
        <translation>目的のフォルダーを選択してください:</translation>
    </message>
    <message>
        <source>Loading Images...</source>
        <translation>画像を読み込み中...</translation>
    </message>
    <message>
        <source>Loading stopped at &quot;%1&quot;, which could not be opened: %2.</source>
        <translation>「%1」で読み込みを中止しました。このファイルを開けませんでした: %2。</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>画像ではありません</translation>
    </message>
</context>
<context>
    <name>Converter</name>
    <message>
        <source>it</source>
        <translation>コンバーター</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded: %1</source>
        <translation>JPEG コンバーターを読み込めませんでした: %1</translation>
    </message>
    <message>
        <source>the JPEG converter could not be loaded (%1)</source>
        <translation>JPEG コンバーターを読み込めませんでした (%1)</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it does not say its interface version</source>
        <translation>JPEG コンバーター %1 は使用できません: インターフェースのバージョンを示していません</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has interface version %2, this program needs %3</source>
        <translation>JPEG コンバーター %1 は使用できません: インターフェースのバージョンが %2 ですが、このプログラムには %3 が必要です</translation>
    </message>
    <message>
        <source>the JPEG converter %1 is refused: it has no BmpToJpeg</source>
        <translation>JPEG コンバーター %1 は使用できません: BmpToJpeg がありません</translation>
    </message>
    <message>
        <source>there was not enough memory to convert it to JPEG</source>
        <translation>JPEG に変換するためのメモリが不足していました</translation>
    </message>
    <message>
        <source>the JPEG converter could not read the picture: %1</source>
        <translation>JPEG コンバーターが画像を読み込めませんでした: %1</translation>
    </message>
    <message>
        <source>the JPEG converter does not take this kind of bitmap</source>
        <translation>JPEG コンバーターはこの種類のビットマップを受け付けません</translation>
    </message>
    <message>
        <source>the JPEG converter could not encode the picture</source>
        <translation>JPEG コンバーターが画像をエンコードできませんでした</translation>
    </message>
    <message>
        <source>the JPEG file could not be written: %1</source>
        <translation>JPEG ファイルを書き込めませんでした: %1</translation>
    </message>
    <message>
        <source>the JPEG converter refused the file names it was given</source>
        <translation>JPEG コンバーターは渡されたファイル名を拒否しました</translation>
    </message>
</context>
<context>
    <name>Copy</name>
    <message>
        <source>The picture was not copied to the clipboard: %1.</source>
        <translation>画像はクリップボードにコピーされませんでした: %1。</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>%1 was looked for in %2, which is missing</source>
        <translation>%1 を %2 で探しましたが、このフォルダーはありません</translation>
    </message>
    <message>
        <source>%1 was looked for in %2, which cannot be read (%3)</source>
        <translation>%1 を %2 で探しましたが、このフォルダーを読み取れません (%3)</translation>
    </message>
    <message>
        <source>%1 is missing: %2 (%3)</source>
        <translation>%1 が見つかりません: %2 (%3)</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2 (%3)</source>
        <translation>%1 を読み取れません: %2 (%3)</translation>
    </message>
    <message>
        <source>the existing file is not writable (%1)</source>
        <translation>既存のファイルに書き込めません (%1)</translation>
    </message>
    <message>
        <source>it is a link that leads to no file (%1)</source>
        <translation>どのファイルも指していないリンクです (%1)</translation>
    </message>
</context>
<context>
    <name>Jobs</name>
    <message>
        <source>the work ended without a result</source>
        <translation>処理が結果なしで終了しました</translation>
    </message>
    <message>
        <source>there is not enough memory for it</source>
        <translation>メモリが不足しています</translation>
    </message>
    <message>
        <source>an unexpected error occurred</source>
        <translation>予期しないエラーが発生しました</translation>
    </message>
</context>
<context>
    <name>Module1</name>
    <message>
        <source>%1 does not exist.
Do you want to create it?</source>
        <translation>%1 は存在しません。
作成しますか?</translation>
    </message>
</context>
<context>
    <name>Open</name>
    <message>
        <source>All Graphics</source>
        <translation>すべてのグラフィック</translation>
    </message>
    <message>
        <source>Open Image</source>
        <translation>画像を開く</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; could not be opened: %2.</source>
        <translation>ファイル「%1」を開けませんでした: %2。</translation>
    </message>
    <message>
        <source>it is not a picture</source>
        <translation>画像ではありません</translation>
    </message>
    <message>
        <source>The file &quot;%1&quot; was not opened: the picture it was to replace changed while it loaded.</source>
        <translation>ファイル「%1」は開きませんでした: 置き換える予定の画像が読み込み中に変更されました。</translation>
    </message>
</context>
<context>
    <name>Pictures</name>
    <message>
        <source>there is no picture in this entry</source>
        <translation>この項目には画像がありません</translation>
    </message>
    <message>
        <source>the file is missing or empty after writing</source>
        <translation>書き込み後にファイルが存在しないか空です</translation>
    </message>
    <message>
        <source>the JPEG converter left no file there</source>
        <translation>JPEG コンバーターがファイルを作成しませんでした</translation>
    </message>
    <message>
        <source>there is not enough memory for the picture</source>
        <translation>画像に必要なメモリが足りません</translation>
    </message>
    <message>
        <source>the file could not be read</source>
        <translation>ファイルを読み取れませんでした</translation>
    </message>
    <message>
        <source>there is not enough memory to decode the picture</source>
        <translation>画像をデコードするためのメモリが足りません</translation>
    </message>
    <message>
        <source>the file is not an EMF or WMF file</source>
        <translation>ファイルは EMF ファイルでも WMF ファイルでもありません</translation>
    </message>
    <message>
        <source>the file is too large for the metafile reader</source>
        <translation>ファイルがメタファイル読み取りプログラムには大きすぎます</translation>
    </message>
    <message>
        <source>the metafile is damaged</source>
        <translation>メタファイルが破損しています</translation>
    </message>
    <message>
        <source>the metafile&apos;s picture size is empty or too large</source>
        <translation>メタファイルの画像サイズが空か大きすぎます</translation>
    </message>
    <message>
        <source>the metafile reader could not convert the file</source>
        <translation>メタファイル読み取りプログラムがファイルを変換できませんでした</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing cannot be shown</source>
        <translation>メタファイルの図形を表示できません</translation>
    </message>
    <message>
        <source>the metafile reader failed (exit code %1)</source>
        <translation>メタファイル読み取りプログラムが失敗しました (終了コード %1)</translation>
    </message>
    <message>
        <source>the metafile reader</source>
        <translation>メタファイル読み取りプログラム</translation>
    </message>
    <message>
        <source>the metafile reader could not be started: %1</source>
        <translation>メタファイル読み取りプログラムを起動できませんでした: %1</translation>
    </message>
    <message>
        <source>the metafile reader took too long</source>
        <translation>メタファイル読み取りプログラムの処理に時間がかかりすぎました</translation>
    </message>
    <message>
        <source>the metafile reader&apos;s reply is too large</source>
        <translation>メタファイル読み取りプログラムの応答が大きすぎます</translation>
    </message>
    <message>
        <source>the metafile reader crashed</source>
        <translation>メタファイル読み取りプログラムがクラッシュしました</translation>
    </message>
    <message>
        <source>the metafile reader gave an unreadable reply</source>
        <translation>メタファイル読み取りプログラムの応答を読み取れません</translation>
    </message>
    <message>
        <source>the file is shorter than its header says (%1 of %2 bytes)</source>
        <translation>ファイルがヘッダーの示す長さより短いです (%2 バイト中 %1 バイト)</translation>
    </message>
    <message>
        <source>the file ends before its picture does</source>
        <translation>画像の途中でファイルが終わっています</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels, more than this program takes (%3 pixels a side, %4 million pixels in all)</source>
        <translation>画像は %1 × %2 ピクセルで、このプログラムが扱える大きさ (一辺 %3 ピクセル、合計 %4 百万ピクセル) を超えています</translation>
    </message>
    <message>
        <source>the picture data is damaged or incomplete (%1)</source>
        <translation>画像データが破損しているか不完全です (%1)</translation>
    </message>
    <message>
        <source>its scans could not be counted</source>
        <translation>スキャン数を数えられませんでした</translation>
    </message>
    <message>
        <source>a marker that no JPEG decoder takes</source>
        <translation>どの JPEG デコーダーも受け付けないマーカー</translation>
    </message>
    <message>
        <source>more than %1 scans</source>
        <translation>スキャンが %1 個を超えています</translation>
    </message>
    <message>
        <source>the metafile&apos;s drawing is empty</source>
        <translation>メタファイルの図形が空です</translation>
    </message>
    <message>
        <source>the file changed while it was read</source>
        <translation>読み取り中にファイルが変更されました</translation>
    </message>
    <message>
        <source>it is a folder, not a file</source>
        <translation>ファイルではなくフォルダーです</translation>
    </message>
    <message>
        <source>it is not an ordinary file</source>
        <translation>通常のファイルではありません</translation>
    </message>
    <message>
        <source>the file is empty</source>
        <translation>ファイルが空です</translation>
    </message>
    <message>
        <source>the picture is %1 × %2 pixels</source>
        <translation>画像は %1 × %2 ピクセルです</translation>
    </message>
    <message>
        <source>it is not a BMP, GIF, JPEG, PNG, EMF or WMF picture</source>
        <translation>BMP、GIF、JPEG、PNG、EMF、WMF のいずれの画像でもありません</translation>
    </message>
    <message>
        <source>there is no picture to save</source>
        <translation>保存する画像がありません</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>画像をエンコードできませんでした</translation>
    </message>
    <message>
        <source>%1 × %2 pixels</source>
        <translation>%1 × %2 ピクセル</translation>
    </message>
</context>
<context>
    <name>Print</name>
    <message>
        <source>The picture could not be printed: there is not enough memory for it, or the printer did not take it.</source>
        <translation>画像を印刷できませんでした: メモリが足りないか、プリンターが受け付けませんでした。</translation>
    </message>
    <message>
        <source>The picture could not be printed: %1.</source>
        <translation>画像を印刷できませんでした: %1。</translation>
    </message>
</context>
<context>
    <name>Save</name>
    <message>
        <source>JPEG Image (*.jpg)</source>
        <translation>JPEG 画像 (*.jpg)</translation>
    </message>
    <message>
        <source>Bitmap Image (*.bmp)</source>
        <translation>ビットマップ画像 (*.bmp)</translation>
    </message>
    <message>
        <source>The picture was not saved as %1: %2.</source>
        <translation>画像を %1 として保存できませんでした: %2。</translation>
    </message>
    <message>
        <source>

It is kept in the BMP file %1.</source>
        <translation>

画像は BMP ファイル %1 に残してあります。</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>画像を保存</translation>
    </message>
    <message>
        <source>a file of that name exists already; save with the full name to replace it</source>
        <translation>同じ名前のファイルが既にあります。置き換えるには完全な名前で保存してください</translation>
    </message>
</context>
<context>
    <name>SaveAll</name>
    <message>
        <source>%1 of %2 pictures were not saved in %3.</source>
        <translation>%2 枚中 %1 枚の画像を %3 に保存できませんでした。</translation>
    </message>
    <message>
        <source>it was written, but is gone since</source>
        <translation>書き込まれましたが、その後なくなりました</translation>
    </message>
    <message>
        <source>

%1 of them could not be converted and are kept there as BMP files.</source>
        <translation>

そのうち %1 枚は変換できなかったため、BMP ファイルとして残してあります。</translation>
    </message>
    <message>
        <source>Select folder where you want to save all the images:</source>
        <translation>すべての画像を保存するフォルダーを選択してください:</translation>
    </message>
    <message>
        <source>Save all is done.</source>
        <translation>すべての画像を保存しました。</translation>
    </message>
    <message>
        <source>Save all into %1 did not finish: %2.</source>
        <translation>%1 へのすべて保存は完了しませんでした: %2。</translation>
    </message>
</context>
<context>
    <name>Viewers</name>
    <message>
        <source>There is not enough memory to show this picture.</source>
        <translation>この画像を表示するためのメモリが足りません。</translation>
    </message>
</context>
<context>
    <name>formCapture</name>
    <message>
        <source>Pictavo - [Use PrintScreen key to capture screen]</source>
        <translation>Pictavo - [PrintScreen キーで画面をキャプチャ]</translation>
    </message>
    <message>
        <source>&amp;Save...</source>
        <translation>保存(&amp;S)...</translation>
    </message>
    <message>
        <source>Save &amp;All</source>
        <translation>すべて保存(&amp;A)</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>開く(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>印刷(&amp;P)...</translation>
    </message>
    <message>
        <source>Cop&amp;y to Clipboard</source>
        <translation>クリップボードにコピー(&amp;Y)</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>削除(&amp;D)</translation>
    </message>
    <message>
        <source>&amp;Clear</source>
        <translation>クリア(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>参照(&amp;B)...</translation>
    </message>
    <message>
        <source>About...</source>
        <translation>バージョン情報...</translation>
    </message>
    <message>
        <source>Gallery</source>
        <translation>ギャラリー</translation>
    </message>
    <message>
        <source>The command did not finish: %1.</source>
        <translation>コマンドは完了しませんでした: %1。</translation>
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
        <translation>ビットマップ画像 (*.bmp)</translation>
    </message>
    <message>
        <source>Save Image</source>
        <translation>画像を保存</translation>
    </message>
    <message>
        <source>The picture could not be saved as &quot;%1&quot;: %2.</source>
        <translation>画像を「%1」として保存できませんでした: %2。</translation>
    </message>
</context>
</TS>
