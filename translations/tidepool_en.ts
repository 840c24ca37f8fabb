<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>tidepool::AccessibleNames</name>
    <message>
        <source>画像のサイズ（幅）</source>
        <translation>Image width</translation>
    </message>
    <message>
        <source>画像のサイズ（高さ）</source>
        <translation>Image height</translation>
    </message>
    <message>
        <source>影の幅</source>
        <translation>Shadow width</translation>
    </message>
    <message>
        <source>泡の間隔</source>
        <translation>Bubble spacing</translation>
    </message>
    <message>
        <source>描画のシフト（横）</source>
        <translation>Bubble shift across</translation>
    </message>
    <message>
        <source>描画のシフト（縦）</source>
        <translation>Bubble shift down</translation>
    </message>
    <message>
        <source>ピクチャのファイル</source>
        <translation>Picture file</translation>
    </message>
    <message>
        <source>テーマ</source>
        <translation>Theme</translation>
    </message>
    <message>
        <source>前景色</source>
        <translation>Foreground colour</translation>
    </message>
    <message>
        <source>中間色</source>
        <translation>Middle colour</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background colour</translation>
    </message>
    <message>
        <source>見本</source>
        <translation>Sample</translation>
    </message>
</context>
<context>
    <name>tidepool::FileTypes</name>
    <message>
        <source>ビットマップファイル (*.bmp)</source>
        <translation>Bitmap files (*.bmp)</translation>
    </message>
    <message>
        <source>すべてのピクチャファイル</source>
        <translation>All picture files</translation>
    </message>
    <message>
        <source>すべてのファイル (*.*)</source>
        <translation>All files (*.*)</translation>
    </message>
</context>
<context>
    <name>tidepool::FixedColourDialog</name>
    <message>
        <source>ボディ</source>
        <translation>Body</translation>
    </message>
    <message>
        <source>模様</source>
        <translation>Pattern</translation>
    </message>
    <message>
        <source>目</source>
        <translation>Eyes</translation>
    </message>
    <message>
        <source>泡</source>
        <translation>Bubbles</translation>
    </message>
    <message>
        <source>固定色の変更</source>
        <translation>Fixed Colours</translation>
    </message>
    <message>
        <source>決定(&amp;O)</source>
        <translation>&amp;OK</translation>
    </message>
    <message>
        <source>キャンセル(&amp;C)</source>
        <translation>&amp;Cancel</translation>
    </message>
</context>
<context>
    <name>tidepool::KeepWallpaperCommand</name>
    <message>
        <source>✓壁紙保持(&amp;K)</source>
        <translation>✓Wallpaper &amp;Kept</translation>
    </message>
    <message>
        <source>壁紙を保つ(&amp;K)</source>
        <translation>&amp;Keep Wallpaper</translation>
    </message>
    <message>
        <source>設定を保存するフォルダーが分かりません。</source>
        <translation>The folder for the settings is not known.</translation>
    </message>
    <message>
        <source>ログイン時に起動する設定を書き込めませんでした。</source>
        <translation>The entry that starts it at login could not be written.</translation>
    </message>
    <message>
        <source>画面の変化を見守るプログラム (tidepool-render) を起動または終了できませんでした。</source>
        <translation>The program that watches the screens (tidepool-render) could not be started or ended.</translation>
    </message>
    <message>
        <source>・%1
（%2）</source>
        <translation>• %1
(%2)</translation>
    </message>
    <message>
        <source>壁紙は設定しましたが、保つことはできませんでした。</source>
        <translation>The wallpaper was set, but it could not be kept.</translation>
    </message>
    <message>
        <source>壁紙の設定を保存できませんでした。</source>
        <translation>The wallpaper&apos;s settings could not be saved.</translation>
    </message>
    <message>
        <source>壁紙を保つのをやめられませんでした。</source>
        <translation>Keeping the wallpaper could not be stopped.</translation>
    </message>
</context>
<context>
    <name>tidepool::MainWindow</name>
    <message>
        <source>画像のサイズ</source>
        <translation>Image size</translation>
    </message>
    <message>
        <source>倍率</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>位置</source>
        <translation>Layout</translation>
    </message>
    <message>
        <source>標準</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>スライド</source>
        <translation>Slide</translation>
    </message>
    <message>
        <source>間隔</source>
        <translation>Spacing</translation>
    </message>
    <message>
        <source>ノーマル</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>フレーム</source>
        <translation>Frame</translation>
    </message>
    <message>
        <source>影</source>
        <translation>Shadow</translation>
    </message>
    <message>
        <source>影の幅</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>泡無し</source>
        <translation>No bubbles</translation>
    </message>
    <message>
        <source>泡有り</source>
        <translation>Bubbles</translation>
    </message>
    <message>
        <source>色</source>
        <translation>Colour</translation>
    </message>
    <message>
        <source>描画のシフト</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>(マイナス可)</source>
        <translation>(negative OK)</translation>
    </message>
    <message>
        <source>シフト</source>
        <translation>Shift</translation>
    </message>
    <message>
        <source>前景色</source>
        <translation>Foreground</translation>
    </message>
    <message>
        <source>中間色</source>
        <translation>Middle</translation>
    </message>
    <message>
        <source>背景色</source>
        <translation>Background</translation>
    </message>
    <message>
        <source>固定色で描画</source>
        <translation>Fixed colours</translation>
    </message>
    <message>
        <source>描画(&amp;G)</source>
        <translation>&amp;Draw</translation>
    </message>
    <message>
        <source>ピクチャ無し</source>
        <translation>No picture</translation>
    </message>
    <message>
        <source>ピクチャ使用</source>
        <translation>Use picture</translation>
    </message>
    <message>
        <source>参照(&amp;B)</source>
        <translation>&amp;Browse</translation>
    </message>
    <message>
        <source>壁紙に設定できませんでした。</source>
        <translation>The wallpaper could not be set.</translation>
    </message>
    <message>
        <source>・%1</source>
        <translation>• %1</translation>
    </message>
    <message>
        <source>ぺたもぐ</source>
        <translation>Tidepool</translation>
    </message>
    <message>
        <source>終了(&amp;X)</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation>&amp;Save</translation>
    </message>
    <message>
        <source>オプション(&amp;O)</source>
        <translation>&amp;Options</translation>
    </message>
    <message>
        <source>壁紙に設定(&amp;W)</source>
        <translation>Set as &amp;Wallpaper</translation>
    </message>
</context>
<context>
    <name>tidepool::Messages</name>
    <message>
        <source>ファイルの保存に失敗しました。</source>
        <translation>The file could not be saved.</translation>
    </message>
    <message>
        <source>指定されたピクチャファイルは存在しません。</source>
        <translation>The picture file does not exist.</translation>
    </message>
    <message>
        <source>ピクチャファイルの読み込みに失敗しました。</source>
        <translation>The picture file could not be read.</translation>
    </message>
</context>
<context>
    <name>tidepool::PreviewWindow</name>
    <message>
        <source>ピクチャー</source>
        <translation>Picture</translation>
    </message>
</context>
<context>
    <name>tidepool::SaveDialog</name>
    <message>
        <source>%1 は既に存在します。
上書きしますか?</source>
        <translation>%1 already exists.
Do you want to replace it?</translation>
    </message>
</context>
<context>
    <name>tidepool::ThemeList</name>
    <message>
        <source>ノーマル</source>
        <translation>Normal</translation>
    </message>
    <message>
        <source>ウォーター</source>
        <translation>Water</translation>
    </message>
    <message>
        <source>ライトグリーン</source>
        <translation>Light green</translation>
    </message>
    <message>
        <source>ブルーＡ</source>
        <translation>Blue A</translation>
    </message>
    <message>
        <source>ブルーＢ</source>
        <translation>Blue B</translation>
    </message>
    <message>
        <source>ワイン</source>
        <translation>Wine</translation>
    </message>
    <message>
        <source>アースカラー</source>
        <translation>Earth colour</translation>
    </message>
    <message>
        <source>アイスグリーン</source>
        <translation>Ice green</translation>
    </message>
    <message>
        <source>バカンス</source>
        <translation>Holiday</translation>
    </message>
    <message>
        <source>パンプキン</source>
        <translation>Pumpkin</translation>
    </message>
    <message>
        <source>ピクニック</source>
        <translation>Picnic</translation>
    </message>
    <message>
        <source>プラム</source>
        <translation>Plum</translation>
    </message>
    <message>
        <source>ブルーグレー</source>
        <translation>Blue grey</translation>
    </message>
    <message>
        <source>メープル</source>
        <translation>Maple</translation>
    </message>
    <message>
        <source>モダンパープル</source>
        <translation>Modern purple</translation>
    </message>
    <message>
        <source>ライラック</source>
        <translation>Lilac</translation>
    </message>
    <message>
        <source>レイニーブルー</source>
        <translation>Rainy blue</translation>
    </message>
    <message>
        <source>ローズ</source>
        <translation>Rose</translation>
    </message>
    <message>
        <source>ワインレッド</source>
        <translation>Wine red</translation>
    </message>
    <message>
        <source>システム</source>
        <translation>System</translation>
    </message>
</context>
<context>
    <name>tidepool::WallpaperReport</name>
    <message>
        <source>設定しました</source>
        <translation>applied</translation>
    </message>
    <message>
        <source>（確認: %1）</source>
        <translation> (checked: %1)</translation>
    </message>
    <message>
        <source>（%1）</source>
        <translation>: %1</translation>
    </message>
    <message>
        <source>デスクトップポータル</source>
        <translation>the desktop portal</translation>
    </message>
    <message>
        <source>デスクトップの設定ツール</source>
        <translation>the desktop&apos;s own tool</translation>
    </message>
    <message>
        <source>X11 のルートウィンドウ</source>
        <translation>the X11 root window</translation>
    </message>
    <message>
        <source>設定できませんでした</source>
        <translation>not applied</translation>
    </message>
    <message>
        <source>複数の画面では使いません（1 枚の絵が引き伸ばされるため）</source>
        <translation>not used with several screens, over which it would scale one picture</translation>
    </message>
    <message>
        <source>セッションバスがありません</source>
        <translation>no session bus</translation>
    </message>
    <message>
        <source>セッションバスに壁紙のポータルがありません</source>
        <translation>no wallpaper portal on the session bus</translation>
    </message>
    <message>
        <source>ポータルが設定しませんでした</source>
        <translation>the portal did not set it</translation>
    </message>
    <message>
        <source>時間内に応答がありません</source>
        <translation>no answer in time</translation>
    </message>
    <message>
        <source>このデスクトップの設定ツールはわかりません</source>
        <translation>no tool is known for this desktop</translation>
    </message>
    <message>
        <source>デスクトップの名前がありません（XDG_CURRENT_DESKTOP が空です）</source>
        <translation>no desktop is named (XDG_CURRENT_DESKTOP is empty)</translation>
    </message>
    <message>
        <source>インストールされていません</source>
        <translation>not installed</translation>
    </message>
    <message>
        <source>失敗しました</source>
        <translation>failed</translation>
    </message>
    <message>
        <source>デスクトップが設定を保持しませんでした</source>
        <translation>the desktop did not keep the setting</translation>
    </message>
    <message>
        <source>背景を描くプログラムが動いていません</source>
        <translation>nothing draws the background</translation>
    </message>
    <message>
        <source>絵のパスを安全に渡せません</source>
        <translation>the picture&apos;s path cannot be handed over safely</translation>
    </message>
    <message>
        <source>Wayland のセッションでは使いません（X11 のルートウィンドウが見えないため）</source>
        <translation>not used in a Wayland session, which shows no X11 root window</translation>
    </message>
    <message>
        <source>デスクトップが自分で背景を描くので使いません</source>
        <translation>not used, as the desktop draws its own background</translation>
    </message>
    <message>
        <source>X11 のディスプレイがありません</source>
        <translation>no X11 display</translation>
    </message>
    <message>
        <source>X サーバーが受け付けませんでした</source>
        <translation>the X server refused it</translation>
    </message>
    <message>
        <source>画面に合う絵を作れませんでした</source>
        <translation>no picture could be made for the screens</translation>
    </message>
    <message>
        <source>絵を書き込めませんでした</source>
        <translation>the picture could not be written</translation>
    </message>
    <message>
        <source>サンドボックス（Flatpak や Snap）の中では使いません（デスクトップではなくサンドボックス自身の設定が変わるため）</source>
        <translation>not run inside a sandbox (Flatpak or Snap), where it would change the sandbox&apos;s own settings, not the desktop&apos;s</translation>
    </message>
</context>
</TS>
