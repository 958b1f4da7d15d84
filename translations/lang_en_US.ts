<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US" sourcelanguage="zh_CN">
<context>
    <name>AboutDialog</name>
    <message>
        <source>关于Oskivo</source>
        <translation>About Oskivo</translation>
    </message>
    <message>
        <source>&lt;h2&gt;​​Oskivo&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Oskivo&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>高效便捷的视频帧提取工具，支持多种输出格式，将动态影像转换为高质量静态图片，助您轻松获取每一帧画面。</source>
        <translation>An efficient and convenient video frame extraction tool that supports multiple output formats, converting dynamic footage into high-quality static images to help you effortlessly capture every frame.</translation>
    </message>
    <message>
        <source>&lt;a href=&quot;https://www.example.com/oskivo&quot;&gt;访问官方网站&lt;/a&gt;</source>
        <translation>&lt;a href=&quot;https://www.example.com/oskivo&quot;&gt;Visit Official Website&lt;/a&gt;</translation>
    </message>
    <message>
        <source>© 2026 QuelvaneLabs 版权所有</source>
        <translation>© 2026 QuelvaneLabs. All rights reserved.</translation>
    </message>
    <message>
        <source>Oskivo</source>
        <translation>Oskivo</translation>
    </message>
    <message>
        <source>版本: %1</source>
        <translation>Version: %1</translation>
    </message>
</context>
<context>
    <name>BatchCommand</name>
    <message>
        <source>图片写入的目录，不存在时创建（必需）</source>
        <translation>Folder the images go into, made when missing (required)</translation>
    </message>
    <message>
        <source>每个视频的图片写入输出目录下以视频命名的子目录（默认）</source>
        <translation>Each video&apos;s images go into a folder named after it inside the output folder (default)</translation>
    </message>
    <message>
        <source>只有一个视频时，图片直接写入输出目录；多个视频总是各用一个子目录</source>
        <translation>With a single video, its images go straight into the output folder; several videos always get a folder each</translation>
    </message>
    <message>
        <source>不在标准错误显示进度</source>
        <translation>Do not show the progress on standard error</translation>
    </message>
    <message>
        <source>用“%1 --help”查看全部选项。</source>
        <translation>Run &apos;%1 --help&apos; to see every option.</translation>
    </message>
    <message>
        <source>没有指定视频</source>
        <translation>No video given</translation>
    </message>
    <message>
        <source>没有用 %1 指定输出目录</source>
        <translation>No output folder given with %1</translation>
    </message>
    <message>
        <source>%1：已停止，保留 %2 张图片</source>
        <translation>%1: stopped, %2 images kept</translation>
    </message>
    <message>
        <source>%1：%2 张图片，写入 %3，用时 %4 秒</source>
        <translation>%1: %2 images in %3, %4 s</translation>
    </message>
    <message>
        <source>已中断，正在停止……</source>
        <translation>Interrupted, stopping...</translation>
    </message>
    <message>
        <source>把视频转换为一系列静态图片，每个视频一个任务，依次进行。</source>
        <translation>Turns videos into series of still images, one job per video, one after another.</translation>
    </message>
    <message>
        <source>%1 和 %2 不能同时使用</source>
        <translation>%1 and %2 cannot be used together</translation>
    </message>
    <message>
        <source>结束时在标准输出为每个视频打印一行 JSON 对象：path、output、images、first、last、index、seconds、code、error、cancelled；code 为结果代码（见手册），转换成功时为 null；index 为图片清单的路径，没有时为 null</source>
        <translation>At the end, print one JSON object per video on standard output, one a line: path, output, images, first, last, index, seconds, code, error, cancelled; code is the outcome&apos;s code (see the manual), null when converted; index is the path of the image index, null when there is none</translation>
    </message>
    <message>
        <source>退出码：0 全部转换完成，1 有视频失败，2 用法错误，130 被 Ctrl-C 中断，143 被 SIGTERM 停止，129 被 SIGHUP 停止。</source>
        <translation>Exit status: 0 every video converted, 1 a video failed, 2 bad usage, 130 interrupted by Ctrl-C, 143 stopped by SIGTERM, 129 stopped by SIGHUP.</translation>
    </message>
    <message>
        <source>要转换的视频，可以有多个；%1 为标准输入</source>
        <translation>Videos to convert, one or more; %1 is standard input</translation>
    </message>
    <message>
        <source>标准输入（%1）只能作为一个视频读取</source>
        <translation>Standard input (%1) can be read as one video only</translation>
    </message>
    <message>
        <source>加上 %1 会先删除这些图片再写入</source>
        <translation>With %1, these images are removed before the new ones are written</translation>
    </message>
</context>
<context>
    <name>CommandLineOptions</name>
    <message>
        <source>%1 只能选一个，都不选时按 %2。</source>
        <translation>Only one of %1 may be given; without any, %2 applies.</translation>
    </message>
    <message>
        <source>%1 的值“%2”不是整数</source>
        <translation>%1: &apos;%2&apos; is not a whole number</translation>
    </message>
    <message>
        <source>%1 的值“%2”不是数字</source>
        <translation>%1: &apos;%2&apos; is not a number</translation>
    </message>
    <message>
        <source>%1 的值“%2”不是时间，请写秒数或 时:分:秒.毫秒</source>
        <translation>%1: &apos;%2&apos; is not a time; write seconds or h:mm:ss.zzz</translation>
    </message>
</context>
<context>
    <name>ContactSheet</name>
    <message>
        <source>时长 %1</source>
        <translation>Duration %1</translation>
    </message>
    <message>
        <source>图片 %1 张</source>
        <translation>%1 images</translation>
    </message>
    <message>
        <source>显示其中均匀分布的 %1 张</source>
        <translation>showing an even %1 of them</translation>
    </message>
</context>
<context>
    <name>JobOption</name>
    <message>
        <source>格式</source>
        <translation>Format</translation>
    </message>
    <message>
        <source>图片格式，不分大小写</source>
        <translation>Image format, in any letter case</translation>
    </message>
    <message>
        <source>质量</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>图片质量；PNG 把它当作压缩级别</source>
        <translation>Image quality; PNG takes it as its compression level</translation>
    </message>
    <message>
        <source>位深度</source>
        <translation>Bit depth</translation>
    </message>
    <message>
        <source>帧率 (fps)</source>
        <translation>Frame rate (fps)</translation>
    </message>
    <message>
        <source>每秒视频取 N 帧</source>
        <translation>Take N frames a second of video</translation>
    </message>
    <message>
        <source>间隔 (秒)</source>
        <translation>Interval (seconds)</translation>
    </message>
    <message>
        <source>每隔 S 秒取一帧</source>
        <translation>Take one frame every S seconds</translation>
    </message>
    <message>
        <source>仅关键帧</source>
        <translation>Keyframes only</translation>
    </message>
    <message>
        <source>只取关键帧，其余的帧不解码</source>
        <translation>Take only the keyframes; no other frame is decoded</translation>
    </message>
    <message>
        <source>灵敏度</source>
        <translation>Sensitivity</translation>
    </message>
    <message>
        <source>每个场景取一帧，N 为灵敏度，越大越易判为新场景，50 找出硬切换</source>
        <translation>Take one frame per scene at sensitivity N; the higher, the smaller a change starts a new scene; 50 finds hard cuts</translation>
    </message>
    <message>
        <source>起始时间</source>
        <translation>Start time</translation>
    </message>
    <message>
        <source>范围的起点，秒数或 时:分:秒.毫秒</source>
        <translation>Start of the range, in seconds or h:mm:ss.zzz</translation>
    </message>
    <message>
        <source>结束时间</source>
        <translation>End time</translation>
    </message>
    <message>
        <source>范围的终点，秒数或 时:分:秒.毫秒，须晚于起点</source>
        <translation>End of the range, in seconds or h:mm:ss.zzz, later than the start</translation>
    </message>
    <message>
        <source>视频结尾</source>
        <translation>the end of the video</translation>
    </message>
    <message>
        <source>命名模式</source>
        <translation>Naming pattern</translation>
    </message>
    <message>
        <source>文件名格式，“%1”处为六位图片编号，不能离开输出目录</source>
        <translation>File-name pattern; “%1” stands for the image&apos;s six-digit number; it cannot leave the output folder</translation>
    </message>
    <message>
        <source>文件名包含时间</source>
        <translation>Include time in file names</translation>
    </message>
    <message>
        <source>在文件名的编号后加上该帧的时间</source>
        <translation>Add the frame&apos;s time after the number in each file name</translation>
    </message>
    <message>
        <source>写图片的线程</source>
        <translation>Image writer threads</translation>
    </message>
    <message>
        <source>写图片的线程数，0 为按核心数自动选择</source>
        <translation>Threads that write images; 0 chooses by the number of cores</translation>
    </message>
    <message>
        <source>开</source>
        <translation>on</translation>
    </message>
    <message>
        <source>关</source>
        <translation>off</translation>
    </message>
    <message>
        <source>%1，%2-%3（默认 %4）</source>
        <translation>%1, %2-%3 (default %4)</translation>
    </message>
    <message>
        <source>%1，%2-%3（窗口默认 %4）</source>
        <translation>%1, %2-%3 (the window&apos;s default %4)</translation>
    </message>
    <message>
        <source>%1（默认 %2）</source>
        <translation>%1 (default %2)</translation>
    </message>
    <message>
        <source>%1：%2（默认 %3）</source>
        <translation>%1: %2 (default %3)</translation>
    </message>
    <message>
        <source>%1 的值 %2 无效，须为有限的数且不小于 %3</source>
        <translation>%1: the value %2 is not valid; it must be a finite number no less than %3</translation>
    </message>
    <message>
        <source>%1 的值 %2 超出范围 %3-%4</source>
        <translation>%1: %2 is out of the range %3-%4</translation>
    </message>
    <message>
        <source>%1 的值“%2”无效，可选：%3</source>
        <translation>%1: &apos;%2&apos; is not one of %3</translation>
    </message>
    <message>
        <source>%1 的值“%2”必须含有“%3”</source>
        <translation>%1: &apos;%2&apos; must contain &apos;%3&apos;</translation>
    </message>
    <message>
        <source>%1 的值“%2”会把图片写到输出目录之外</source>
        <translation>%1: &apos;%2&apos; would write images outside the output folder</translation>
    </message>
    <message>
        <source>%1 必须晚于 %2</source>
        <translation>%1 must be later than %2</translation>
    </message>
    <message>
        <source>%1 和 %2 不能同时使用</source>
        <translation>%1 and %2 cannot be used together</translation>
    </message>
    <message>
        <source>%1 需要与 %2 一起使用</source>
        <translation>%1 needs %2</translation>
    </message>
    <message>
        <source>每像素的位数，8 为灰度，32 带透明通道</source>
        <translation>Bits a pixel, 8 grayscale and 32 with alpha</translation>
    </message>
    <message>
        <source>图片清单</source>
        <translation>Image index</translation>
    </message>
    <message>
        <source>在图片旁写下图片清单 index.csv 或 index.json，列出文件名、编号、帧号、时间、是否关键帧、尺寸和得分</source>
        <translation>Write an index of the images beside them, index.csv or index.json, listing the file name, number, frame number, time, keyframe, size and score</translation>
    </message>
    <message>
        <source>不写</source>
        <translation>None</translation>
    </message>
    <message>
        <source>不写入拍摄信息</source>
        <translation>No capture metadata</translation>
    </message>
    <message>
        <source>不把视频的拍摄时间、地点和设备写入图片的 EXIF（默认写入 JPG、PNG、WebP、TIFF）</source>
        <translation>Leave the video&apos;s capture time, place and camera out of the images&apos; EXIF (default: written into JPG, PNG, WebP, TIFF)</translation>
    </message>
    <message>
        <source>缩略图总览</source>
        <translation>Contact sheet</translation>
    </message>
    <message>
        <source>在图片旁画一张缩略图总览 contact-sheet.jpg</source>
        <translation>Draw an overview of thumbnails, contact-sheet.jpg, beside the images</translation>
    </message>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>宽度 (像素)</source>
        <translation>Width (pixels)</translation>
    </message>
    <message>
        <source>图片宽度，按画面显示的样子（方形像素、转正后）；只给宽度时高度按比例；宽高都给时图片按比例放进这个框内</source>
        <translation>Width of the images, of the picture as shown (square pixels, upright); alone, the height follows the picture&apos;s shape; with a height, the picture fits inside that box, keeping its shape</translation>
    </message>
    <message>
        <source>原始尺寸</source>
        <translation>original size</translation>
    </message>
    <message>
        <source>高度 (像素)</source>
        <translation>Height (pixels)</translation>
    </message>
    <message>
        <source>图片高度，按画面显示的样子；只给高度时宽度按比例</source>
        <translation>Height of the images, of the picture as shown; alone, the width follows the picture&apos;s shape</translation>
    </message>
    <message>
        <source>去隔行</source>
        <translation>Deinterlace</translation>
    </message>
    <message>
        <source>隔行扫描的帧先去隔行再保存：auto 只处理解码器或视频标为隔行的帧，on 处理每一帧，off 不处理</source>
        <translation>Deinterlace interlaced frames before saving them: auto only the frames the decoder or the video marks as interlaced, on every frame, off none</translation>
    </message>
    <message>
        <source>图片数量</source>
        <translation>Number of images</translation>
    </message>
    <message>
        <source>在范围内均匀取 N 帧：把范围分成 N 等份，取每份中点处或其后的第一帧</source>
        <translation>Take N frames spread over the range: cut it into N equal parts and take the first frame at or after the middle of each</translation>
    </message>
    <message>
        <source>取最清晰的帧</source>
        <translation>Sharpest frame</translation>
    </message>
    <message>
        <source>按间隔或按数量取帧时，取每一段中最清晰的帧，而不是段首的帧</source>
        <translation>With an interval or a number of images, take the sharpest frame of each part instead of its first</translation>
    </message>
    <message>
        <source>跳过重复的帧</source>
        <translation>Skip repeated frames</translation>
    </message>
    <message>
        <source>跳过与上一张图片看起来相同的帧（如同一张幻灯片），画面噪点不算变化</source>
        <translation>Leave out frames that look the same as the last image (the same slide, for one); noise in the picture is no change</translation>
    </message>
    <message>
        <source>重复判断灵敏度</source>
        <translation>Repeat sensitivity</translation>
    </message>
    <message>
        <source>跳过重复的帧时的灵敏度，越大，越小的变化也算作新画面</source>
        <translation>Sensitivity of skipping repeated frames; the higher, the smaller a change counts as a new picture</translation>
    </message>
    <message>
        <source>跳过黑帧</source>
        <translation>Skip black frames</translation>
    </message>
    <message>
        <source>跳过几乎全黑的帧；按间隔或按数量取帧时，由同一段中下一个不黑的帧代替</source>
        <translation>Leave out nearly black frames; with an interval or a number of images, the next frame of the same part that is not black takes the place of one</translation>
    </message>
    <message>
        <source>%1 需要与 %2 或 %3 一起使用</source>
        <translation>%1 needs %2 or %3</translation>
    </message>
    <message>
        <source>覆盖已有图片</source>
        <translation>Overwrite existing images</translation>
    </message>
    <message>
        <source>输出目录中已有同样命名和格式的图片时，先删除它们再写入；不加时不写入并报错</source>
        <translation>Where the output folder already holds images with the same naming and format, remove them before writing; without it, nothing is written and the video fails</translation>
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
        <translation>Home</translation>
    </message>
    <message>
        <source>高级</source>
        <translation>Advanced</translation>
    </message>
    <message>
        <source>选择源视频</source>
        <translation>Select Video</translation>
    </message>
    <message>
        <source>输出目录:</source>
        <translation>Output Directory:</translation>
    </message>
    <message>
        <source>浏览...</source>
        <translation>Browse...</translation>
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
        <translation>Play</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>停止转换</source>
        <translation>Stop conversion</translation>
    </message>
    <message>
        <source>开始转换</source>
        <translation>Conversion</translation>
    </message>
    <message>
        <source>位深度:</source>
        <translation>Bit Depth:</translation>
    </message>
    <message>
        <source>8位</source>
        <translation>8-bit</translation>
    </message>
    <message>
        <source>16位</source>
        <translation>16-bit</translation>
    </message>
    <message>
        <source>24位</source>
        <translation>24-bit</translation>
    </message>
    <message>
        <source>32位</source>
        <translation>32-bit</translation>
    </message>
    <message>
        <source>标准8位色彩深度，文件较小</source>
        <translation>Standard 8-bit color depth, smaller file size</translation>
    </message>
    <message>
        <source>命名模式:</source>
        <translation>Naming Pattern:</translation>
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
        <translation>Custom...</translation>
    </message>
    <message>
        <source>为每个视频创建子文件夹</source>
        <translation>Create subfolder for each video</translation>
    </message>
    <message>
        <source>质量</source>
        <translation>Quality</translation>
    </message>
    <message>
        <source>90%</source>
        <translation>90%</translation>
    </message>
    <message>
        <source>帧率 (fps):</source>
        <translation>Frame Rate (fps):</translation>
    </message>
    <message>
        <source>格式</source>
        <translation>Format</translation>
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
        <translation>Confirm Exit</translation>
    </message>
    <message>
        <source>确定要退出Oskivo吗？</source>
        <translation>Are you sure you want to exit Oskivo?</translation>
    </message>
    <message>
        <source>选择输出目录</source>
        <translation>Select Output Directory</translation>
    </message>
    <message>
        <source>警告</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>请先选择视频文件</source>
        <translation>Please select a video file first</translation>
    </message>
    <message>
        <source>请先选择输出目录</source>
        <translation>Please select an output directory first</translation>
    </message>
    <message>
        <source>无法创建输出目录</source>
        <translation>Unable to create output directory</translation>
    </message>
    <message>
        <source>转换已停止</source>
        <translation>Conversion stopped</translation>
    </message>
    <message>
        <source>处理中: 第 %1/%2 帧</source>
        <translation>Processing: Frame %1/%2</translation>
    </message>
    <message>
        <source>完成</source>
        <translation>Completed</translation>
    </message>
    <message>
        <source>视频已成功转换为图片</source>
        <translation>Video successfully converted to images</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>处理过程中发生错误: %1</source>
        <translation>An error occurred during processing: %1</translation>
    </message>
    <message>
        <source>无法加载视频文件</source>
        <translation>Unable to load video file</translation>
    </message>
    <message>
        <source>视频加载失败</source>
        <translation>Video loading failed</translation>
    </message>
    <message>
        <source>选择视频文件</source>
        <translation>Select Video File</translation>
    </message>
    <message>
        <source>无效的视频文件</source>
        <translation>Invalid video file</translation>
    </message>
    <message>
        <source>播放错误: %1</source>
        <translation>Playback Error: %1</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>16位色彩深度，更好的色彩表现</source>
        <translation>16-bit color depth, better color representation</translation>
    </message>
    <message>
        <source>标准24位RGB（每通道8位），适合大多数用途</source>
        <translation>Standard 24-bit RGB (8 bits per channel), suitable for most purposes</translation>
    </message>
    <message>
        <source>32位色彩深度，最高质量，文件较大</source>
        <translation>32-bit color depth, highest quality, larger file size</translation>
    </message>
    <message>
        <source>确认重置</source>
        <translation>Confirm Reset</translation>
    </message>
    <message>
        <source>确定要重置应用程序吗？
这将清除所有设置和播放列表。</source>
        <translation>Are you sure you want to reset the application?
This will clear all settings and the playlist.</translation>
    </message>
    <message>
        <source>重置完成</source>
        <translation>Reset Completed</translation>
    </message>
    <message>
        <source>应用程序已重置为初始状态。</source>
        <translation>The application has been reset to its initial state.</translation>
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
        <translation>One-click Reset</translation>
    </message>
    <message>
        <source>关于我们</source>
        <translation>About Us</translation>
    </message>
    <message>
        <source>所有文件 (*)</source>
        <translation>All Files (*)</translation>
    </message>
    <message>
        <source>起点</source>
        <translation>Mark In</translation>
    </message>
    <message>
        <source>终点</source>
        <translation>Mark Out</translation>
    </message>
    <message>
        <source>文件名包含时间</source>
        <translation>Include time in file names</translation>
    </message>
    <message>
        <source>提取方式:</source>
        <translation>Extraction Mode:</translation>
    </message>
    <message>
        <source>每秒帧数</source>
        <translation>Frames per second</translation>
    </message>
    <message>
        <source>每隔 N 秒</source>
        <translation>Every N seconds</translation>
    </message>
    <message>
        <source>仅关键帧</source>
        <translation>Keyframes only</translation>
    </message>
    <message>
        <source>场景变化</source>
        <translation>Scene changes</translation>
    </message>
    <message>
        <source>间隔 (秒):</source>
        <translation>Interval (seconds):</translation>
    </message>
    <message>
        <source>起始时间:</source>
        <translation>Start Time:</translation>
    </message>
    <message>
        <source>留空表示从头开始</source>
        <translation>Empty: from the beginning</translation>
    </message>
    <message>
        <source>结束时间:</source>
        <translation>End Time:</translation>
    </message>
    <message>
        <source>留空表示到结尾</source>
        <translation>Empty: to the end</translation>
    </message>
    <message>
        <source>无法识别起始时间，请按“时:分:秒”填写，例如 0:01:20.000</source>
        <translation>The start time is not recognized; enter it as h:mm:ss, e.g. 0:01:20.000</translation>
    </message>
    <message>
        <source>无法识别结束时间，请按“时:分:秒”填写，例如 0:01:20.000</source>
        <translation>The end time is not recognized; enter it as h:mm:ss, e.g. 0:01:20.000</translation>
    </message>
    <message>
        <source>起始时间必须早于结束时间</source>
        <translation>The start time must be earlier than the end time</translation>
    </message>
    <message>
        <source>处理中: 第 %1 帧</source>
        <translation>Processing: Frame %1</translation>
    </message>
    <message>
        <source>高级设置</source>
        <translation>Advanced settings</translation>
    </message>
    <message>
        <source>菜单</source>
        <translation>Menu</translation>
    </message>
    <message>
        <source>最小化</source>
        <translation>Minimize</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>停止预览并回到开头</source>
        <translation>Stop the preview and go back to the start</translation>
    </message>
    <message>
        <source>保存当前帧</source>
        <translation>Save the current frame</translation>
    </message>
    <message>
        <source>打开文件夹</source>
        <translation>Open Folder</translation>
    </message>
    <message>
        <source>已写入 %1 张图片到 %2</source>
        <translation>%1 images written to %2</translation>
    </message>
    <message>
        <source>视频 %1/%2</source>
        <translation>Video %1/%2</translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation>%1 left</translation>
    </message>
    <message>
        <source>已转换 %1/%2 个视频</source>
        <translation>%1 of %2 videos converted</translation>
    </message>
    <message>
        <source>以下视频转换失败:</source>
        <translation>These videos could not be converted:</translation>
    </message>
    <message>
        <source>确认覆盖</source>
        <translation>Confirm Overwrite</translation>
    </message>
    <message>
        <source>覆盖</source>
        <translation>Overwrite</translation>
    </message>
    <message>
        <source>视频文件 (%1)</source>
        <translation>Video files (%1)</translation>
    </message>
    <message>
        <source>已保存: %1</source>
        <translation>Saved: %1</translation>
    </message>
    <message>
        <source>选取帧</source>
        <translation>Frames</translation>
    </message>
    <message>
        <source>灵敏度:</source>
        <translation>Sensitivity:</translation>
    </message>
    <message>
        <source>画面</source>
        <translation>Picture</translation>
    </message>
    <message>
        <source>文件</source>
        <translation>Files</translation>
    </message>
    <message>
        <source>按数量</source>
        <translation>A number of images</translation>
    </message>
    <message>
        <source>输出文件夹中已有 %1 张同名图片，例如 %2。
覆盖时会先删除这些图片。要覆盖吗？</source>
        <translation>The output folder already holds %1 images with these names, for example %2.
Overwriting removes them first. Overwrite them?</translation>
    </message>
    <message>
        <source>拖动或点击以定位预览；暂停时按左右方向键逐帧移动，按住 Shift 每次一秒，空格键播放或暂停</source>
        <translation>Drag or click to move the preview; while paused, Left and Right step one frame, with Shift one second; Space plays and pauses</translation>
    </message>
    <message>
        <source>将显示的帧设为起始时间</source>
        <translation>Set the start time to the frame shown</translation>
    </message>
    <message>
        <source>将显示的帧设为结束时间</source>
        <translation>Set the end time to the frame shown</translation>
    </message>
    <message>
        <source>已保留写入的 %1 张图片，位于 %2</source>
        <translation>Kept the %1 images written, in %2</translation>
    </message>
    <message>
        <source>%1 不能保存每通道 16 位，图片将以每通道 8 位写入</source>
        <translation>%1 cannot keep 16 bits a channel: the images are written with 8 bits a channel</translation>
    </message>
    <message>
        <source>%1 不能保存透明度，图片将不带透明度写入</source>
        <translation>%1 cannot keep transparency: the images are written without it</translation>
    </message>
</context>
<context>
    <name>ProgressLine</name>
    <message>
        <source>%1 张/秒</source>
        <translation>%1 images/s</translation>
    </message>
    <message>
        <source>剩余 %1</source>
        <translation>%1 left</translation>
    </message>
</context>
<context>
    <name>VideoProcessor</name>
    <message>
        <source>操作已取消</source>
        <translation>Operation Cancelled</translation>
    </message>
    <message>
        <source>无法打开视频文件</source>
        <translation>Unable to open video file</translation>
    </message>
    <message>
        <source>未找到视频流</source>
        <translation>No video stream found</translation>
    </message>
    <message>
        <source>不支持的编解码器</source>
        <translation>Unsupported codec.</translation>
    </message>
    <message>
        <source>无法打开编解码器</source>
        <translation>Unable to open codec</translation>
    </message>
    <message>
        <source>无法创建输出目录</source>
        <translation>Unable to create output directory</translation>
    </message>
    <message>
        <source>读取视频数据失败</source>
        <translation>Failed to read video data</translation>
    </message>
    <message>
        <source>无法创建图像转换上下文</source>
        <translation>Unable to create image conversion context</translation>
    </message>
    <message>
        <source>无法保存图像: %1</source>
        <translation>Unable to save image: %1</translation>
    </message>
    <message>
        <source>视频中没有可提取的帧</source>
        <translation>No frames could be extracted from the video</translation>
    </message>
    <message>
        <source>起始时间超出视频长度</source>
        <translation>The start time is past the end of the video</translation>
    </message>
    <message>
        <source>该位置没有可保存的帧</source>
        <translation>There is no frame to save at this position</translation>
    </message>
    <message>
        <source>磁盘已满，无法保存图像: %1</source>
        <translation>Disk full, unable to save image: %1</translation>
    </message>
    <message>
        <source>内存不足</source>
        <translation>Out of memory</translation>
    </message>
    <message>
        <source>所选范围内没有关键帧</source>
        <translation>The chosen range holds no keyframe</translation>
    </message>
    <message>
        <source>视频长度未知，按数量取帧时请给出结束时间</source>
        <translation>The length of the video is unknown; give an end time to take a number of images</translation>
    </message>
    <message>
        <source>输出目录 %1 中已有同样命名和格式的图片：%2 张</source>
        <translation>The output folder %1 already holds images with the same naming and format: %2</translation>
    </message>
    <message>
        <source>另一个转换正在写入输出目录 %1</source>
        <translation>Another conversion is writing into the output folder %1</translation>
    </message>
</context>
</TS>
