<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_TW" sourcelanguage="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>关于Oskivo</source>
        <translation>關於Oskivo</translation>
    </message>
    <message>
        <source>&lt;h2&gt;​​Oskivo&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;​​Oskivo&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>高效便捷的视频帧提取工具，支持多种输出格式，将动态影像转换为高质量静态图片，助您轻松获取每一帧画面。</source>
        <translation>高效便捷的視訊幀提取工具，支援多種輸出格式，將動態影像轉換為高品質靜態圖片，助您輕鬆獲取每一幀畫面。</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;https://www.example.com/oskivo&quot;&gt;访问官方网站&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;https://www.example.com/oskivo&quot;&gt;訪問官方網站&lt;/a&gt;</translation>
    </message>
    <message>
        <source>© 2026 QuelvaneLabs 版权所有</source>
        <translation>© 2026 QuelvaneLabs 版權所有</translation>
    </message>
    <message>
        <source>Oskivo</source>
        <translation>Oskivo</translation>
    </message>
    <message>
        <source>版本: %1</source>
        <translation>版本: %1</translation>
    </message>
</context>
<context>
    <name>BatchCommand</name>
    <message>
        <source>图片写入的目录，不存在时创建（必需）</source>
        <translation>圖片寫入的目錄，不存在時建立（必填）</translation>
    </message>
    <message>
        <source>每个视频的图片写入输出目录下以视频命名的子目录（默认）</source>
        <translation>每個視訊的圖片寫入輸出目錄下以視訊命名的子目錄（預設）</translation>
    </message>
    <message>
        <source>只有一个视频时，图片直接写入输出目录；多个视频总是各用一个子目录</source>
        <translation>只有一個視訊時，圖片直接寫入輸出目錄；多個視訊總是各用一個子目錄</translation>
    </message>
    <message>
        <source>不在标准错误显示进度</source>
        <translation>不在標準錯誤顯示進度</translation>
    </message>
    <message>
        <source>用“%1 --help”查看全部选项。</source>
        <translation>用「%1 --help」查看全部選項。</translation>
    </message>
    <message>
        <source>没有指定视频</source>
        <translation>沒有指定視訊</translation>
    </message>
    <message>
        <source>没有用 %1 指定输出目录</source>
        <translation>沒有用 %1 指定輸出目錄</translation>
    </message>
    <message>
        <source>%1：已停止，保留 %2 张图片</source>
        <translation>%1：已停止，保留 %2 張圖片</translation>
    </message>
    <message>
        <source>%1：%2 张图片，写入 %3，用时 %4 秒</source>
        <translation>%1：%2 張圖片，寫入 %3，用時 %4 秒</translation>
    </message>
    <message>
        <source>已中断，正在停止……</source>
        <translation>已中斷，正在停止……</translation>
    </message>
    <message>
        <source>把视频转换为一系列静态图片，每个视频一个任务，依次进行。</source>
        <translation>把視訊轉換為一系列靜態圖片，每個視訊一個工作，依序進行。</translation>
    </message>
    <message>
        <source>%1 和 %2 不能同时使用</source>
        <translation>%1 和 %2 不能同時使用</translation>
    </message>
    <message>
        <source>结束时在标准输出为每个视频打印一行 JSON 对象：path、output、images、first、last、index、seconds、code、error、cancelled；code 为结果代码（见手册），转换成功时为 null；index 为图片清单的路径，没有时为 null</source>
        <translation>結束時在標準輸出為每個視訊列印一行 JSON 物件：path、output、images、first、last、index、seconds、code、error、cancelled；code 為結果代碼（見手冊），轉換成功時為 null；index 為圖片清單的路徑，沒有時為 null</translation>
    </message>
    <message>
        <source>退出码：0 全部转换完成，1 有视频失败，2 用法错误，130 被 Ctrl-C 中断，143 被 SIGTERM 停止，129 被 SIGHUP 停止。</source>
        <translation>結束代碼：0 全部轉換完成，1 有視訊失敗，2 用法錯誤，130 被 Ctrl-C 中斷，143 被 SIGTERM 停止，129 被 SIGHUP 停止。</translation>
    </message>
    <message>
        <source>要转换的视频，可以有多个；%1 为标准输入</source>
        <translation>要轉換的視訊，可以有多個；%1 為標準輸入</translation>
    </message>
    <message>
        <source>标准输入（%1）只能作为一个视频读取</source>
        <translation>標準輸入（%1）只能作為一個視訊讀取</translation>
    </message>
    <message>
        <source>加上 %1 会先删除这些图片再写入</source>
        <translation>加上 %1 會先刪除這些圖片再寫入</translation>
    </message>
</context>
<context>
    <name>CommandLineOptions</name>
    <message>
        <source>%1 只能选一个，都不选时按 %2。</source>
        <translation>%1 只能選一個，都不選時按 %2。</translation>
    </message>
    <message>
        <source>%1 的值“%2”不是整数</source>
        <translation>%1 的值「%2」不是整數</translation>
    </message>
    <message>
        <source>%1 的值“%2”不是数字</source>
        <translation>%1 的值「%2」不是數字</translation>
    </message>
    <message>
        <source>%1 的值“%2”不是时间，请写秒数或 时:分:秒.毫秒</source>
        <translation>%1 的值「%2」不是時間，請寫秒數或 時:分:秒.毫秒</translation>
    </message>
</context>
<context>
    <name>ContactSheet</name>
    <message>
        <source>时长 %1</source>
        <translation>時長 %1</translation>
    </message>
    <message>
        <source>图片 %1 张</source>
        <translation>圖片 %1 張</translation>
    </message>
    <message>
        <source>显示其中均匀分布的 %1 张</source>
        <translation>顯示其中均勻分布的 %1 張</translation>
    </message>
</context>
<context>
    <name>JobOption</name>
    <message>
        <source>格式</source>
        <translation>格式</translation>
    </message>
    <message>
        <source>图片格式，不分大小写</source>
        <translation>圖片格式，不分大小寫</translation>
    </message>
    <message>
        <source>质量</source>
        <translation>品質</translation>
    </message>
    <message>
        <source>图片质量；PNG 把它当作压缩级别</source>
        <translation>圖片品質；PNG 把它當作壓縮等級</translation>
    </message>
    <message>
        <source>位深度</source>
        <translation>位元深度</translation>
    </message>
    <message>
        <source>帧率 (fps)</source>
        <translation>幀率 (fps)</translation>
    </message>
    <message>
        <source>每秒视频取 N 帧</source>
        <translation>每秒視訊取 N 幀</translation>
    </message>
    <message>
        <source>间隔 (秒)</source>
        <translation>間隔 (秒)</translation>
    </message>
    <message>
        <source>每隔 S 秒取一帧</source>
        <translation>每隔 S 秒取一幀</translation>
    </message>
    <message>
        <source>仅关键帧</source>
        <translation>僅關鍵幀</translation>
    </message>
    <message>
        <source>只取关键帧，其余的帧不解码</source>
        <translation>只取關鍵幀，其餘的幀不解碼</translation>
    </message>
    <message>
        <source>灵敏度</source>
        <translation>靈敏度</translation>
    </message>
    <message>
        <source>每个场景取一帧，N 为灵敏度，越大越易判为新场景，50 找出硬切换</source>
        <translation>每個場景取一幀，N 為靈敏度，越大越易判為新場景，50 找出硬切換</translation>
    </message>
    <message>
        <source>起始时间</source>
        <translation>起始時間</translation>
    </message>
    <message>
        <source>范围的起点，秒数或 时:分:秒.毫秒</source>
        <translation>範圍的起點，秒數或 時:分:秒.毫秒</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>結束時間</translation>
    </message>
    <message>
        <source>范围的终点，秒数或 时:分:秒.毫秒，须晚于起点</source>
        <translation>範圍的終點，秒數或 時:分:秒.毫秒，須晚於起點</translation>
    </message>
    <message>
        <source>视频结尾</source>
        <translation>視訊結尾</translation>
    </message>
    <message>
        <source>命名模式</source>
        <translation>命名模式</translation>
    </message>
    <message>
        <source>文件名格式，“%1”处为六位图片编号，不能离开输出目录</source>
        <translation>檔案名稱格式，「%1」處為六位圖片編號，不能離開輸出目錄</translation>
    </message>
    <message>
        <source>文件名包含时间</source>
        <translation>檔案名稱包含時間</translation>
    </message>
    <message>
        <source>在文件名的编号后加上该帧的时间</source>
        <translation>在檔案名稱的編號後加上該幀的時間</translation>
    </message>
    <message>
        <source>写图片的线程</source>
        <translation>寫圖片的執行緒</translation>
    </message>
    <message>
        <source>写图片的线程数，0 为按核心数自动选择</source>
        <translation>寫圖片的執行緒數，0 為按核心數自動選擇</translation>
    </message>
    <message>
        <source>开</source>
        <translation>開</translation>
    </message>
    <message>
        <source>关</source>
        <translation>關</translation>
    </message>
    <message>
        <source>%1，%2-%3（默认 %4）</source>
        <translation>%1，%2-%3（預設 %4）</translation>
    </message>
    <message>
        <source>%1，%2-%3（窗口默认 %4）</source>
        <translation>%1，%2-%3（視窗預設 %4）</translation>
    </message>
    <message>
        <source>%1（默认 %2）</source>
        <translation>%1（預設 %2）</translation>
    </message>
    <message>
        <source>%1：%2（默认 %3）</source>
        <translation>%1：%2（預設 %3）</translation>
    </message>
    <message>
        <source>%1 的值 %2 无效，须为有限的数且不小于 %3</source>
        <translation>%1 的值 %2 無效，須為有限的數且不小於 %3</translation>
    </message>
    <message>
        <source>%1 的值 %2 超出范围 %3-%4</source>
        <translation>%1 的值 %2 超出範圍 %3-%4</translation>
    </message>
    <message>
        <source>%1 的值“%2”无效，可选：%3</source>
        <translation>%1 的值「%2」無效，可選：%3</translation>
    </message>
    <message>
        <source>%1 的值“%2”必须含有“%3”</source>
        <translation>%1 的值「%2」必須含有「%3」</translation>
    </message>
    <message>
        <source>%1 的值“%2”会把图片写到输出目录之外</source>
        <translation>%1 的值「%2」會把圖片寫到輸出目錄之外</translation>
    </message>
    <message>
        <source>%1 必须晚于 %2</source>
        <translation>%1 必須晚於 %2</translation>
    </message>
    <message>
        <source>%1 和 %2 不能同时使用</source>
        <translation>%1 和 %2 不能同時使用</translation>
    </message>
    <message>
        <source>%1 需要与 %2 一起使用</source>
        <translation>%1 需要與 %2 一起使用</translation>
    </message>
    <message>
        <source>每像素的位数，8 为灰度，32 带透明通道</source>
        <translation>每像素的位元數，8 為灰階，32 帶透明通道</translation>
    </message>
    <message>
        <source>图片清单</source>
        <translation>圖片清單</translation>
    </message>
    <message>
        <source>在图片旁写下图片清单 index.csv 或 index.json，列出文件名、编号、帧号、时间、是否关键帧、尺寸和得分</source>
        <translation>在圖片旁寫下圖片清單 index.csv 或 index.json，列出檔名、編號、幀號、時間、是否關鍵幀、尺寸和得分</translation>
    </message>
    <message>
        <source>不写</source>
        <translation>不寫</translation>
    </message>
    <message>
        <source>不写入拍摄信息</source>
        <translation>不寫入拍攝資訊</translation>
    </message>
    <message>
        <source>不把视频的拍摄时间、地点和设备写入图片的 EXIF（默认写入 JPG、PNG、WebP、TIFF）</source>
        <translation>不把視訊的拍攝時間、地點和裝置寫入圖片的 EXIF（預設寫入 JPG、PNG、WebP、TIFF）</translation>
    </message>
    <message>
        <source>缩略图总览</source>
        <translation>縮圖總覽</translation>
    </message>
    <message>
        <source>在图片旁画一张缩略图总览 contact-sheet.jpg</source>
        <translation>在圖片旁畫一張縮圖總覽 contact-sheet.jpg</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>宽度 (像素)</source>
        <translation>寬度 (像素)</translation>
    </message>
    <message>
        <source>图片宽度，按画面显示的样子（方形像素、转正后）；只给宽度时高度按比例；宽高都给时图片按比例放进这个框内</source>
        <translation>圖片寬度，按畫面顯示的樣子（方形像素、轉正後）；只給寬度時高度按比例；寬高都給時圖片按比例放進這個框內</translation>
    </message>
    <message>
        <source>原始尺寸</source>
        <translation>原始尺寸</translation>
    </message>
    <message>
        <source>高度 (像素)</source>
        <translation>高度 (像素)</translation>
    </message>
    <message>
        <source>图片高度，按画面显示的样子；只给高度时宽度按比例</source>
        <translation>圖片高度，按畫面顯示的樣子；只給高度時寬度按比例</translation>
    </message>
    <message>
        <source>去隔行</source>
        <translation>去交錯</translation>
    </message>
    <message>
        <source>隔行扫描的帧先去隔行再保存：auto 只处理解码器或视频标为隔行的帧，on 处理每一帧，off 不处理</source>
        <translation>交錯掃描的幀先去交錯再儲存：auto 只處理解碼器或視訊標為交錯的幀，on 處理每一幀，off 不處理</translation>
    </message>
    <message>
        <source>图片数量</source>
        <translation>圖片數量</translation>
    </message>
    <message>
        <source>在范围内均匀取 N 帧：把范围分成 N 等份，取每份中点处或其后的第一帧</source>
        <translation>在範圍內均勻取 N 幀：把範圍分成 N 等份，取每份中點處或其後的第一幀</translation>
    </message>
    <message>
        <source>取最清晰的帧</source>
        <translation>取最清晰的幀</translation>
    </message>
    <message>
        <source>按间隔或按数量取帧时，取每一段中最清晰的帧，而不是段首的帧</source>
        <translation>按間隔或按數量取幀時，取每一段中最清晰的幀，而不是段首的幀</translation>
    </message>
    <message>
        <source>跳过重复的帧</source>
        <translation>跳過重複的幀</translation>
    </message>
    <message>
        <source>跳过与上一张图片看起来相同的帧（如同一张幻灯片），画面噪点不算变化</source>
        <translation>跳過與上一張圖片看起來相同的幀（如同一張投影片），畫面雜訊不算變化</translation>
    </message>
    <message>
        <source>重复判断灵敏度</source>
        <translation>重複判斷靈敏度</translation>
    </message>
    <message>
        <source>跳过重复的帧时的灵敏度，越大，越小的变化也算作新画面</source>
        <translation>跳過重複的幀時的靈敏度，越大，越小的變化也算作新畫面</translation>
    </message>
    <message>
        <source>跳过黑帧</source>
        <translation>跳過黑幀</translation>
    </message>
    <message>
        <source>跳过几乎全黑的帧；按间隔或按数量取帧时，由同一段中下一个不黑的帧代替</source>
        <translation>跳過幾乎全黑的幀；按間隔或按數量取幀時，由同一段中下一個不黑的幀代替</translation>
    </message>
    <message>
        <source>%1 需要与 %2 或 %3 一起使用</source>
        <translation>%1 需要與 %2 或 %3 一起使用</translation>
    </message>
    <message>
        <source>覆盖已有图片</source>
        <translation>覆寫已有圖片</translation>
    </message>
    <message>
        <source>输出目录中已有同样命名和格式的图片时，先删除它们再写入；不加时不写入并报错</source>
        <translation>輸出目錄中已有同樣命名和格式的圖片時，先刪除它們再寫入；不加時不寫入並報錯</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Oskivo</source>
        <translation>Oskivo</translation>
    </message>
    <message>
        <source>首页</source>
        <translation>首頁</translation>
    </message>
    <message>
        <source>高级</source>
        <translation>高級</translation>
    </message>
    <message>
        <source>选择源视频</source>
        <translation>選擇來源視訊</translation>
    </message>
    <message>
        <source>输出目录:</source>
        <translation>輸出目錄:</translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation>瀏覽...</translation>
    </message>
    <message>
        <source>00:00:00</source>
        <translation>00:00:00</translation>
    </message>
    <message>
        <source>/</source>
        <translation>/</translation>
    </message>
    <message>
        <source>播放</source>
        <translation>播放</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>停止</translation>
    </message>
    <message>
        <source>停止转换</source>
        <translation>停止轉換</translation>
    </message>
    <message>
        <source>开始转换</source>
        <translation>開始轉換</translation>
    </message>
    <message>
        <source>位深度:</source>
        <translation>位元深度:</translation>
    </message>
    <message>
        <source>8位</source>
        <translation>8位元</translation>
    </message>
    <message>
        <source>16位</source>
        <translation>16位元</translation>
    </message>
    <message>
        <source>24位</source>
        <translation>24位元</translation>
    </message>
    <message>
        <source>32位</source>
        <translation>32位元</translation>
    </message>
    <message>
        <source>标准8位色彩深度，文件较小</source>
        <translation>標準8位元色彩深度，檔案較小</translation>
    </message>
    <message>
        <source>命名模式:</source>
        <translation>命名模式:</translation>
    </message>
    <message>
        <source>frame_000001</source>
        <translation>frame_000001</translation>
    </message>
    <message>
        <source>image_000001</source>
        <translation>image_000001</translation>
    </message>
    <message>
        <source>video_000001</source>
        <translation>video_000001</translation>
    </message>
    <message>
        <source>自定义...</source>
        <translation>自訂...</translation>
    </message>
    <message>
        <source>为每个视频创建子文件夹</source>
        <translation>為每個視訊建立子資料夾</translation>
    </message>
    <message>
        <source>质量</source>
        <translation>品質</translation>
    </message>
    <message>
        <source>90%</source>
        <translation>90%</translation>
    </message>
    <message>
        <source>帧率 (fps):</source>
        <translation>幀率 (fps):</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>格式</translation>
    </message>
    <message>
        <source>JPG</source>
        <translation>JPG</translation>
    </message>
    <message>
        <source>JPEG</source>
        <translation>JPEG</translation>
    </message>
    <message>
        <source>PNG</source>
        <translation>PNG</translation>
    </message>
    <message>
        <source>BMP</source>
        <translation>BMP</translation>
    </message>
    <message>
        <source>WebP</source>
        <translation>WebP</translation>
    </message>
    <message>
        <source>TIFF</source>
        <translation>TIFF</translation>
    </message>
    <message>
        <source>PPM</source>
        <translation>PPM</translation>
    </message>
    <message>
        <source>TGA</source>
        <translation>TGA</translation>
    </message>
    <message>
        <source>确认退出</source>
        <translation>確認退出</translation>
    </message>
    <message>
        <source>确定要退出Oskivo吗？</source>
        <translation>確定要退出Oskivo嗎？</translation>
    </message>
    <message>
        <source>选择输出目录</source>
        <translation>選擇輸出目錄</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>警告</translation>
    </message>
    <message>
        <source>请先选择视频文件</source>
        <translation>請先選擇視訊檔案</translation>
    </message>
    <message>
        <source>请先选择输出目录</source>
        <translation>請先選擇輸出目錄</translation>
    </message>
    <message>
        <source>无法创建输出目录</source>
        <translation>無法建立輸出目錄</translation>
    </message>
    <message>
        <source>转换已停止</source>
        <translation>轉換已停止</translation>
    </message>
    <message>
        <source>处理中: 第 %1/%2 帧</source>
        <translation>處理中: 第 %1/%2 幀</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>完成</translation>
    </message>
    <message>
        <source>视频已成功转换为图片</source>
        <translation>視訊已成功轉換為圖片</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>錯誤</translation>
    </message>
    <message>
        <source>处理过程中发生错误: %1</source>
        <translation>處理過程中發生錯誤: %1</translation>
    </message>
    <message>
        <source>无法加载视频文件</source>
        <translation>無法載入視訊檔案</translation>
    </message>
    <message>
        <source>视频加载失败</source>
        <translation>視訊載入失敗</translation>
    </message>
    <message>
        <source>选择视频文件</source>
        <translation>選擇視訊檔案</translation>
    </message>
    <message>
        <source>无效的视频文件</source>
        <translation>無效的視訊檔案</translation>
    </message>
    <message>
        <source>播放错误: %1</source>
        <translation>播放錯誤: %1</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>暫停</translation>
    </message>
    <message>
        <source>16位色彩深度，更好的色彩表现</source>
        <translation>16位元色彩深度，更好的色彩表現</translation>
    </message>
    <message>
        <source>标准24位RGB（每通道8位），适合大多数用途</source>
        <translation>標準24位元RGB（每通道8位元），適合大多數用途</translation>
    </message>
    <message>
        <source>32位色彩深度，最高质量，文件较大</source>
        <translation>32位元色彩深度，最高品質，檔案較大</translation>
    </message>
    <message>
        <source>确认重置</source>
        <translation>確認重置</translation>
    </message>
    <message>
        <source>确定要重置应用程序吗？
这将清除所有设置和播放列表。</source>
        <translation>確定要重置應用程式嗎？
這將清除所有設定和播放清單。</translation>
    </message>
    <message>
        <source>重置完成</source>
        <translation>重置完成</translation>
    </message>
    <message>
        <source>应用程序已重置为初始状态。</source>
        <translation>應用程式已重置為初始狀態。</translation>
    </message>
    <message>
        <source>简体中文</source>
        <translation>简体中文</translation>
    </message>
    <message>
        <source>繁體中文</source>
        <translation>繁體中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>一键重置</source>
        <translation>一鍵重置</translation>
    </message>
    <message>
        <source>关于我们</source>
        <translation>關於我們</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>所有檔案 (*)</translation>
    </message>
    <message>
        <source>起点</source>
        <translation>起點</translation>
    </message>
    <message>
        <source>终点</source>
        <translation>終點</translation>
    </message>
    <message>
        <source>文件名包含时间</source>
        <translation>檔案名稱包含時間</translation>
    </message>
    <message>
        <source>提取方式:</source>
        <translation>擷取方式:</translation>
    </message>
    <message>
        <source>每秒帧数</source>
        <translation>每秒幀數</translation>
    </message>
    <message>
        <source>每隔 N 秒</source>
        <translation>每隔 N 秒</translation>
    </message>
    <message>
        <source>仅关键帧</source>
        <translation>僅關鍵幀</translation>
    </message>
    <message>
        <source>场景变化</source>
        <translation>場景變化</translation>
    </message>
    <message>
        <source>间隔 (秒):</source>
        <translation>間隔 (秒):</translation>
    </message>
    <message>
        <source>起始时间:</source>
        <translation>起始時間:</translation>
    </message>
    <message>
        <source>留空表示从头开始</source>
        <translation>留空表示從頭開始</translation>
    </message>
    <message>
        <source>结束时间:</source>
        <translation>結束時間:</translation>
    </message>
    <message>
        <source>留空表示到结尾</source>
        <translation>留空表示到結尾</translation>
    </message>
    <message>
        <source>无法识别起始时间，请按“时:分:秒”填写，例如 0:01:20.000</source>
        <translation>無法識別起始時間，請按「時:分:秒」填寫，例如 0:01:20.000</translation>
    </message>
    <message>
        <source>无法识别结束时间，请按“时:分:秒”填写，例如 0:01:20.000</source>
        <translation>無法識別結束時間，請按「時:分:秒」填寫，例如 0:01:20.000</translation>
    </message>
    <message>
        <source>起始时间必须早于结束时间</source>
        <translation>起始時間必須早於結束時間</translation>
    </message>
    <message>
        <source>处理中: 第 %1 帧</source>
        <translation>處理中: 第 %1 幀</translation>
    </message>
    <message>
        <source>高级设置</source>
        <translation>進階設定</translation>
    </message>
    <message>
        <source>菜单</source>
        <translation>選單</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>最小化</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>結束</translation>
    </message>
    <message>
        <source>停止预览并回到开头</source>
        <translation>停止預覽並回到開頭</translation>
    </message>
    <message>
        <source>保存当前帧</source>
        <translation>儲存目前幀</translation>
    </message>
    <message>
        <source>打开文件夹</source>
        <translation>開啟資料夾</translation>
    </message>
    <message>
        <source>已写入 %1 张图片到 %2</source>
        <translation>已寫入 %1 張圖片到 %2</translation>
    </message>
    <message>
        <source>视频 %1/%2</source>
        <translation>視訊 %1/%2</translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation>剩餘 %1</translation>
    </message>
    <message>
        <source>已转换 %1/%2 个视频</source>
        <translation>已轉換 %1/%2 個視訊</translation>
    </message>
    <message>
        <source>以下视频转换失败:</source>
        <translation>以下視訊轉換失敗:</translation>
    </message>
    <message>
        <source>确认覆盖</source>
        <translation>確認覆寫</translation>
    </message>
    <message>
        <source>覆盖</source>
        <translation>覆寫</translation>
    </message>
    <message>
        <source>视频文件 (%1)</source>
        <translation>視訊檔案 (%1)</translation>
    </message>
    <message>
        <source>已保存: %1</source>
        <translation>已儲存: %1</translation>
    </message>
    <message>
        <source>选取帧</source>
        <translation>選取幀</translation>
    </message>
    <message>
        <source>灵敏度:</source>
        <translation>靈敏度:</translation>
    </message>
    <message>
        <source>画面</source>
        <translation>畫面</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>檔案</translation>
    </message>
    <message>
        <source>按数量</source>
        <translation>按數量</translation>
    </message>
    <message>
        <source>输出文件夹中已有 %1 张同名图片，例如 %2。
覆盖时会先删除这些图片。要覆盖吗？</source>
        <translation>輸出資料夾中已有 %1 張同名圖片，例如 %2。
覆寫時會先刪除這些圖片。要覆寫嗎？</translation>
    </message>
    <message>
        <source>拖动或点击以定位预览；暂停时按左右方向键逐帧移动，按住 Shift 每次一秒，空格键播放或暂停</source>
        <translation>拖曳或點按以定位預覽；暫停時按左右方向鍵逐幀移動，按住 Shift 每次一秒，空白鍵播放或暫停</translation>
    </message>
    <message>
        <source>将显示的帧设为起始时间</source>
        <translation>將顯示的幀設為起始時間</translation>
    </message>
    <message>
        <source>将显示的帧设为结束时间</source>
        <translation>將顯示的幀設為結束時間</translation>
    </message>
    <message>
        <source>已保留写入的 %1 张图片，位于 %2</source>
        <translation>已保留寫入的 %1 張圖片，位於 %2</translation>
    </message>
    <message>
        <source>%1 不能保存每通道 16 位，图片将以每通道 8 位写入</source>
        <translation>%1 無法保存每通道 16 位元，圖片將以每通道 8 位元寫入</translation>
    </message>
    <message>
        <source>%1 不能保存透明度，图片将不带透明度写入</source>
        <translation>%1 無法保存透明度，圖片將不帶透明度寫入</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <source>%1 张/秒</source>
        <translation>%1 張/秒</translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation>剩餘 %1</translation>
    </message>
</context>
<context>
    <name>VideoProcessor</name>
    <message>
        <source>操作已取消</source>
        <translation>操作已取消</translation>
    </message>
    <message>
        <source>无法打开视频文件</source>
        <translation>無法開啟視訊檔案</translation>
    </message>
    <message>
        <source>未找到视频流</source>
        <translation>未找到視訊串流</translation>
    </message>
    <message>
        <source>不支持的编解码器</source>
        <translation>不支援的編解碼器</translation>
    </message>
    <message>
        <source>无法打开编解码器</source>
        <translation>無法開啟編解碼器</translation>
    </message>
    <message>
        <source>无法创建输出目录</source>
        <translation>無法建立輸出目錄</translation>
    </message>
    <message>
        <source>读取视频数据失败</source>
        <translation>讀取視訊資料失敗</translation>
    </message>
    <message>
        <source>无法创建图像转换上下文</source>
        <translation>無法建立圖像轉換上下文</translation>
    </message>
    <message>
        <source>无法保存图像: %1</source>
        <translation>無法儲存圖像: %1</translation>
    </message>
    <message>
        <source>视频中没有可提取的帧</source>
        <translation>視訊中沒有可擷取的畫面</translation>
    </message>
    <message>
        <source>起始时间超出视频长度</source>
        <translation>起始時間超出視訊長度</translation>
    </message>
    <message>
        <source>该位置没有可保存的帧</source>
        <translation>該位置沒有可儲存的幀</translation>
    </message>
    <message>
        <source>磁盘已满，无法保存图像: %1</source>
        <translation>磁碟已滿，無法儲存圖像: %1</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>記憶體不足</translation>
    </message>
    <message>
        <source>所选范围内没有关键帧</source>
        <translation>所選範圍內沒有關鍵幀</translation>
    </message>
    <message>
        <source>视频长度未知，按数量取帧时请给出结束时间</source>
        <translation>視訊長度未知，按數量取幀時請給出結束時間</translation>
    </message>
    <message>
        <source>输出目录 %1 中已有同样命名和格式的图片：%2 张</source>
        <translation>輸出目錄 %1 中已有同樣命名和格式的圖片：%2 張</translation>
    </message>
    <message>
        <source>另一个转换正在写入输出目录 %1</source>
        <translation>另一個轉換正在寫入輸出目錄 %1</translation>
    </message>
</context>
</TS>
