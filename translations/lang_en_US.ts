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
        <source>版本: 1.0.3.02</source>
        <translation>Version: 1.0.3.02</translation>
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
        <source>帧率必须在1-60之间</source>
        <translation>Frame rate must be between 1 and 60.</translation>
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
        <source>错误发生</source>
        <translation>Error Occurred</translation>
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
        <source>将预览的当前位置设为起始时间</source>
        <translation>Set the start time to the preview&apos;s current position</translation>
    </message>
    <message>
        <source>起点</source>
        <translation>Mark In</translation>
    </message>
    <message>
        <source>将预览的当前位置设为结束时间</source>
        <translation>Set the end time to the preview&apos;s current position</translation>
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
        <source>灵敏度 (1-100):</source>
        <translation>Sensitivity (1-100):</translation>
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
        <source>拖动或点击以定位预览</source>
        <translation>Drag or click to move the preview</translation>
    </message>
    <message>
        <source>播放或暂停预览</source>
        <translation>Play or pause the preview</translation>
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
        <source>输出文件夹中已有同名图片，例如 %1。
要覆盖这些图片吗？</source>
        <translation>The output folder already holds images with these names, for example %1.
Overwrite them?</translation>
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
</context>
<context>
    <name>VideoProcessor</name>
    <message>
        <source>操作已取消</source>
        <translation>Operation Cancelled</translation>
    </message>
    <message>
        <source>无法分配格式上下文</source>
        <translation>Unable to allocate format context</translation>
    </message>
    <message>
        <source>无法打开视频文件</source>
        <translation>Unable to open video file</translation>
    </message>
    <message>
        <source>无法获取流信息</source>
        <translation>Unable to get stream information</translation>
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
        <source>无法分配编解码器上下文</source>
        <translation>Unable to allocate codec context</translation>
    </message>
    <message>
        <source>无法初始化编解码器上下文</source>
        <translation>Unable to initialize codec context</translation>
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
        <source>无法分配帧或包</source>
        <translation>Failed to allocate frame or packet.</translation>
    </message>
    <message>
        <source>读取视频数据失败</source>
        <translation>Failed to read video data</translation>
    </message>
    <message>
        <source>无法分配RGB帧</source>
        <translation>Unable to allocate RGB frame</translation>
    </message>
    <message>
        <source>无法分配图像缓冲区</source>
        <translation>Unable to allocate image buffer</translation>
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
        <source>命名格式无效: %1</source>
        <translation>Invalid naming pattern: %1</translation>
    </message>
    <message>
        <source>参数超出范围: %1</source>
        <translation>Option out of range: %1</translation>
    </message>
    <message>
        <source>起始时间超出视频长度</source>
        <translation>The start time is past the end of the video</translation>
    </message>
    <message>
        <source>该位置没有可保存的帧</source>
        <translation>There is no frame to save at this position</translation>
    </message>
</context>
</TS>
