<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN" sourcelanguage="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>关于Oskivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h2&gt;​​Oskivo&lt;/h2&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高效便捷的视频帧提取工具，支持多种输出格式，将动态影像转换为高质量静态图片，助您轻松获取每一帧画面。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;a href=&quot;https://www.example.com/oskivo&quot;&gt;访问官方网站&lt;/a&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>© 2026 QuelvaneLabs 版权所有</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Oskivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>版本: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>BatchCommand</name>
    <message>
        <source>图片写入的目录，不存在时创建（必需）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每个视频的图片写入输出目录下以视频命名的子目录（默认）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>只有一个视频时，图片直接写入输出目录；多个视频总是各用一个子目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不在标准错误显示进度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>用“%1 --help”查看全部选项。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有指定视频</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>没有用 %1 指定输出目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1：已停止，保留 %2 张图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1：%2 张图片，写入 %3，用时 %4 秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已中断，正在停止……</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>把视频转换为一系列静态图片，每个视频一个任务，依次进行。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 和 %2 不能同时使用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>结束时在标准输出为每个视频打印一行 JSON 对象：path、output、images、first、last、index、seconds、code、error、cancelled；code 为结果代码（见手册），转换成功时为 null；index 为图片清单的路径，没有时为 null</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出码：0 全部转换完成，1 有视频失败，2 用法错误，130 被 Ctrl-C 中断，143 被 SIGTERM 停止，129 被 SIGHUP 停止。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>要转换的视频，可以有多个；%1 为标准输入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标准输入（%1）只能作为一个视频读取</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>加上 %1 会先删除这些图片再写入</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>CommandLineOptions</name>
    <message>
        <source>%1 只能选一个，都不选时按 %2。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 的值“%2”不是整数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 的值“%2”不是数字</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 的值“%2”不是时间，请写秒数或 时:分:秒.毫秒</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ContactSheet</name>
    <message>
        <source>时长 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片 %1 张</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>显示其中均匀分布的 %1 张</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>JobOption</name>
    <message>
        <source>格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片格式，不分大小写</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>质量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片质量；PNG 把它当作压缩级别</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位深度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帧率 (fps)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每秒视频取 N 帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>间隔 (秒)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每隔 S 秒取一帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>仅关键帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>只取关键帧，其余的帧不解码</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>灵敏度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每个场景取一帧，N 为灵敏度，越大越易判为新场景，50 找出硬切换</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>范围的起点，秒数或 时:分:秒.毫秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>范围的终点，秒数或 时:分:秒.毫秒，须晚于起点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频结尾</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>命名模式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件名格式，“%1”处为六位图片编号，不能离开输出目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件名包含时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>在文件名的编号后加上该帧的时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写图片的线程</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>写图片的线程数，0 为按核心数自动选择</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>开</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1，%2-%3（默认 %4）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1，%2-%3（窗口默认 %4）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1（默认 %2）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1：%2（默认 %3）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 的值 %2 无效，须为有限的数且不小于 %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 的值 %2 超出范围 %3-%4</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 的值“%2”无效，可选：%3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 的值“%2”必须含有“%3”</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 的值“%2”会把图片写到输出目录之外</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 必须晚于 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 和 %2 不能同时使用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 需要与 %2 一起使用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每像素的位数，8 为灰度，32 带透明通道</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片清单</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>在图片旁写下图片清单 index.csv 或 index.json，列出文件名、编号、帧号、时间、是否关键帧、尺寸和得分</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不写</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不写入拍摄信息</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不把视频的拍摄时间、地点和设备写入图片的 EXIF（默认写入 JPG、PNG、WebP、TIFF）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>缩略图总览</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>在图片旁画一张缩略图总览 contact-sheet.jpg</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自动</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>宽度 (像素)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片宽度，按画面显示的样子（方形像素、转正后）；只给宽度时高度按比例；宽高都给时图片按比例放进这个框内</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>原始尺寸</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高度 (像素)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片高度，按画面显示的样子；只给高度时宽度按比例</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>去隔行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>隔行扫描的帧先去隔行再保存：auto 只处理解码器或视频标为隔行的帧，on 处理每一帧，off 不处理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>图片数量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>在范围内均匀取 N 帧：把范围分成 N 等份，取每份中点处或其后的第一帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>取最清晰的帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按间隔或按数量取帧时，取每一段中最清晰的帧，而不是段首的帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳过重复的帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳过与上一张图片看起来相同的帧（如同一张幻灯片），画面噪点不算变化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重复判断灵敏度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳过重复的帧时的灵敏度，越大，越小的变化也算作新画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳过黑帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>跳过几乎全黑的帧；按间隔或按数量取帧时，由同一段中下一个不黑的帧代替</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 需要与 %2 或 %3 一起使用</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>覆盖已有图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输出目录中已有同样命名和格式的图片时，先删除它们再写入；不加时不写入并报错</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Oskivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>首页</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高级</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择源视频</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输出目录:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>00:00:00</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>/</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>播放</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止转换</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>开始转换</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>位深度:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>8位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>16位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>24位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>32位</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标准8位色彩深度，文件较小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>命名模式:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>frame_000001</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>image_000001</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>video_000001</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自定义...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>为每个视频创建子文件夹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>质量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>90%</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>帧率 (fps):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>格式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPG</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>JPEG</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>BMP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>WebP</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TIFF</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PPM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>TGA</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认退出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定要退出Oskivo吗？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择输出目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>警告</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请先选择视频文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>请先选择输出目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法创建输出目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>转换已停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>处理中: 第 %1/%2 帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>完成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频已成功转换为图片</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>错误</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>处理过程中发生错误: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法加载视频文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频加载失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选择视频文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无效的视频文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>播放错误: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>暂停</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>16位色彩深度，更好的色彩表现</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>标准24位RGB（每通道8位），适合大多数用途</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>32位色彩深度，最高质量，文件较大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认重置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确定要重置应用程序吗？
这将清除所有设置和播放列表。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>重置完成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>应用程序已重置为初始状态。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>简体中文</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>繁體中文</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>English</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一键重置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>关于我们</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>终点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件名包含时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>提取方式:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每秒帧数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>每隔 N 秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>仅关键帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>场景变化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>间隔 (秒):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始时间:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>留空表示从头开始</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>结束时间:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>留空表示到结尾</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法识别起始时间，请按“时:分:秒”填写，例如 0:01:20.000</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法识别结束时间，请按“时:分:秒”填写，例如 0:01:20.000</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始时间必须早于结束时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>处理中: 第 %1 帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>高级设置</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>菜单</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最小化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>退出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>停止预览并回到开头</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存当前帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>打开文件夹</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已写入 %1 张图片到 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频 %1/%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已转换 %1/%2 个视频</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>以下视频转换失败:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>确认覆盖</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>覆盖</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频文件 (%1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已保存: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>选取帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>灵敏度:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画面</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>按数量</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输出文件夹中已有 %1 张同名图片，例如 %2。
覆盖时会先删除这些图片。要覆盖吗？</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拖动或点击以定位预览；暂停时按左右方向键逐帧移动，按住 Shift 每次一秒，空格键播放或暂停</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>将显示的帧设为起始时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>将显示的帧设为结束时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>已保留写入的 %1 张图片，位于 %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 不能保存每通道 16 位，图片将以每通道 8 位写入</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 不能保存透明度，图片将不带透明度写入</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <source>%1 张/秒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>VideoProcessor</name>
    <message>
        <source>操作已取消</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法打开视频文件</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>未找到视频流</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>不支持的编解码器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法打开编解码器</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法创建输出目录</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>读取视频数据失败</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法创建图像转换上下文</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>无法保存图像: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频中没有可提取的帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>起始时间超出视频长度</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>该位置没有可保存的帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>磁盘已满，无法保存图像: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>所选范围内没有关键帧</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>视频长度未知，按数量取帧时请给出结束时间</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>输出目录 %1 中已有同样命名和格式的图片：%2 张</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>另一个转换正在写入输出目录 %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
