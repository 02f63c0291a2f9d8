<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>CsvFiles</name>
    <message>
        <source>the line is %1 bytes long; a draw line holds at most %2</source>
        <translation>该行长 %1 字节；一行开奖记录最多 %2 字节</translation>
    </message>
    <message>
        <source>a quoted field holds a line break: a draw is one line</source>
        <translation>带引号的字段中含有换行符：每期开奖只能占一行</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>the disk is full</source>
        <translation>磁盘已满</translation>
    </message>
    <message>
        <source>the disk quota is used up</source>
        <translation>磁盘配额已用完</translation>
    </message>
    <message>
        <source>the file size limit is reached</source>
        <translation>已达到文件大小上限</translation>
    </message>
    <message>
        <source>there is no permission to write in %1</source>
        <translation>没有在 %1 中写入的权限</translation>
    </message>
    <message>
        <source>%1 is on a read-only disk</source>
        <translation>%1 位于只读磁盘上</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 不是文件夹</translation>
    </message>
    <message>
        <source>the name is too long</source>
        <translation>名称过长</translation>
    </message>
    <message>
        <source>; give the data folder with --data-dir DIR.</source>
        <translation>；请用 --data-dir DIR 指定数据文件夹。</translation>
    </message>
    <message>
        <source>HOME is not set</source>
        <translation>未设置 HOME</translation>
    </message>
    <message>
        <source>%1 holds bytes that are not valid text, so the user&apos;s data location cannot be used</source>
        <translation>%1 含有不是有效文本的字节，因此无法使用用户的数据位置</translation>
    </message>
    <message>
        <source>%1 (%2) is not an absolute path, so the user&apos;s data location cannot be used</source>
        <translation>%1（%2）不是绝对路径，因此无法使用用户的数据位置</translation>
    </message>
    <message>
        <source>The user&apos;s data location %1 (from %2) cannot be used: %3; give the data folder with --data-dir DIR.</source>
        <translation>无法使用用户的数据位置 %1（来自 %2）：%3；请用 --data-dir DIR 指定数据文件夹。</translation>
    </message>
    <message>
        <source>The data folder %1 cannot be created: %2.</source>
        <translation>无法创建数据文件夹 %1：%2。</translation>
    </message>
    <message>
        <source>The lock of the data folder %1 cannot be written: %2. Nothing was changed.</source>
        <translation>无法写入数据文件夹 %1 的锁：%2。未做任何更改。</translation>
    </message>
    <message>
        <source>The data folder %1 cannot be locked: %2. Nothing was changed.</source>
        <translation>无法锁定数据文件夹 %1：%2。未做任何更改。</translation>
    </message>
    <message>
        <source>The data folder %1 is in use by another program; close it first. Nothing was changed.</source>
        <translation>数据文件夹 %1 正被另一个程序使用；请先将其关闭。未做任何更改。</translation>
    </message>
    <message>
        <source>The data folder %1 is in use by %2 (process %3 on %4); close it first. Nothing was changed.</source>
        <translation>数据文件夹 %1 正被 %2 使用（%4 上的进程 %3）；请先将其关闭。未做任何更改。</translation>
    </message>
    <message>
        <source>another program</source>
        <translation>另一个程序</translation>
    </message>
    <message>
        <source>it is not held</source>
        <translation>未持有该锁</translation>
    </message>
    <message>
        <source>its lock file was deleted</source>
        <translation>其锁文件已被删除</translation>
    </message>
    <message>
        <source>its lock file cannot be checked: %1</source>
        <translation>无法检查其锁文件：%1</translation>
    </message>
    <message>
        <source>its lock file was replaced by that of process %1</source>
        <translation>其锁文件已被进程 %1 的锁文件替换</translation>
    </message>
    <message>
        <source>its lock file was replaced</source>
        <translation>其锁文件已被替换</translation>
    </message>
    <message>
        <source>its lock file now names process %1</source>
        <translation>其锁文件现在指向进程 %1</translation>
    </message>
    <message>
        <source>its lock file was overwritten</source>
        <translation>其锁文件已被覆盖</translation>
    </message>
    <message>
        <source>The lock on the data folder %1 was lost (%2), so another program may have changed the draws there. Nothing was saved.</source>
        <translation>数据文件夹 %1 的锁已丢失（%2），其中的开奖记录可能已被另一个程序更改。未保存任何内容。</translation>
    </message>
</context>
<context>
    <name>Downloader</name>
    <message>
        <source>%1 is not an http or https address</source>
        <translation>%1 不是 http 或 https 地址</translation>
    </message>
    <message>
        <source>the file is larger than %1 MB</source>
        <translation>文件大于 %1 MB</translation>
    </message>
    <message>
        <source>the download was cancelled</source>
        <translation>下载已取消</translation>
    </message>
    <message>
        <source>%1 sent nothing for %2 s</source>
        <translation>%1 在 %2 秒内没有发送任何数据</translation>
    </message>
    <message>
        <source>the server answered %1 %2 for %3</source>
        <translation>服务器对 %3 的应答为 %1 %2</translation>
    </message>
    <message>
        <source>the download of %1 ended after %2 of %3 bytes</source>
        <translation>%1 的下载在 %3 字节中的第 %2 字节处中断</translation>
    </message>
    <message>
        <source>the zip archive cannot be read: %1</source>
        <translation>无法读取 zip 压缩包：%1</translation>
    </message>
    <message>
        <source>it has no central directory</source>
        <translation>它没有中央目录</translation>
    </message>
    <message>
        <source>its directory is damaged</source>
        <translation>它的目录已损坏</translation>
    </message>
    <message>
        <source>an entry is damaged</source>
        <translation>有一个条目已损坏</translation>
    </message>
    <message>
        <source>it is cut short</source>
        <translation>它不完整</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB</source>
        <translation>%1 大于 %2 MB</translation>
    </message>
    <message>
        <source>%1 is packed in a way this program cannot unpack</source>
        <translation>%1 的压缩方式本程序无法解压</translation>
    </message>
    <message>
        <source>zlib cannot start</source>
        <translation>zlib 无法启动</translation>
    </message>
    <message>
        <source>%1 is damaged</source>
        <translation>%1 已损坏</translation>
    </message>
    <message>
        <source>it holds no file</source>
        <translation>其中没有文件</translation>
    </message>
</context>
<context>
    <name>ImportText</name>
    <message>
        <source>UTF-8 with a byte order mark</source>
        <translation>带字节顺序标记的 UTF-8</translation>
    </message>
    <message>
        <source>UTF-16 (converted)</source>
        <translation>UTF-16（已转换）</translation>
    </message>
</context>
<context>
    <name>LotteryFolder</name>
    <message>
        <source>%1 cannot be used:
%2

%3 %4</source>
        <translation>无法使用 %1：
%2

%3 %4</translation>
    </message>
    <message>
        <source>It was kept as %1.</source>
        <translation>已将其保留为 %1。</translation>
    </message>
    <message>
        <source>The draws saved before it were loaded instead.</source>
        <translation>改为载入了此前保存的开奖记录。</translation>
    </message>
    <message>
        <source>No draws were loaded.</source>
        <translation>未载入任何开奖记录。</translation>
    </message>
    <message>
        <source>%1 was missing after an unfinished save; the draws saved before were restored.</source>
        <translation>未完成的保存之后 %1 丢失；已恢复此前保存的开奖记录。</translation>
    </message>
    <message>
        <source>%1 is missing and the copy saved before it cannot be used.</source>
        <translation>%1 丢失，且此前保存的副本无法使用。</translation>
    </message>
    <message>
        <source>The draws were loaded, but the copy that protects them during the next save was not kept: %1</source>
        <translation>开奖记录已载入，但未能保留在下次保存时保护它们的副本：%1</translation>
    </message>
    <message>
        <source>The made-up sample draws shown before are not your history: they were set aside as %1.</source>
        <translation>此前显示的虚构示例开奖记录不是您的历史数据：已将其另存为 %1。</translation>
    </message>
    <message>
        <source>the record store does not keep the program&apos;s name</source>
        <translation>记录存储未保存程序的名称</translation>
    </message>
    <message>
        <source>cannot create the settings folder %1</source>
        <translation>无法创建设置文件夹 %1</translation>
    </message>
    <message>
        <source>cannot write the settings in %1: %2</source>
        <translation>无法写入 %1 中的设置：%2</translation>
    </message>
    <message>
        <source>cannot write the settings in %1</source>
        <translation>无法写入 %1 中的设置</translation>
    </message>
    <message>
        <source>the setting that says where the draws are saved reads back wrong from %1</source>
        <translation>从 %1 读回的开奖记录保存位置设置有误</translation>
    </message>
    <message>
        <source>%1 was changed by another program after it was read, so the draws were not written back to it; nothing in it was lost. Saves no longer write back to it.</source>
        <translation>%1 在读取后被另一个程序更改，因此开奖记录未写回该文件；其中的内容没有丢失。以后保存时不再写回该文件。</translation>
    </message>
    <message>
        <source>The draws were saved, but the state before this save was not kept as an earlier version: %1</source>
        <translation>开奖记录已保存，但本次保存前的状态未能保留为早期版本：%1</translation>
    </message>
    <message>
        <source>%1 was missing after an unfinished save; it was written again with the %2 draws saved last.</source>
        <translation>未完成的保存之后 %1 丢失；已用最后保存的 %2 期开奖记录重新写入。</translation>
    </message>
    <message>
        <source>%1 is missing after an unfinished save and cannot be written again: %2</source>
        <translation>未完成的保存之后 %1 丢失，且无法重新写入：%2</translation>
    </message>
    <message>
        <source>It could not be moved aside: %1.</source>
        <translation>无法将其移到一旁：%1。</translation>
    </message>
    <message>
        <source>The draws were loaded; the copy that protects them during the next save is in place but not confirmed on disk: %1</source>
        <translation>开奖数据已加载；在下次保存时保护它们的副本已存在，但尚未确认写入磁盘：%1</translation>
    </message>
</context>
<context>
    <name>ResultImporter</name>
    <message>
        <source>a text draw file</source>
        <translation>文本开奖文件</translation>
    </message>
    <message>
        <source>a table with %1 between fields</source>
        <translation>字段之间以 %1 分隔的表格</translation>
    </message>
    <message>
        <source>a header on line %1</source>
        <translation>第 %1 行为表头</translation>
    </message>
    <message>
        <source>no header</source>
        <translation>无表头</translation>
    </message>
    <message>
        <source>numbers from &quot;%1&quot; to &quot;%2&quot;</source>
        <translation>号码取自“%1”至“%2”</translation>
    </message>
    <message>
        <source>dates day first</source>
        <translation>日期为日在前</translation>
    </message>
    <message>
        <source>dates month first</source>
        <translation>日期为月在前</translation>
    </message>
    <message>
        <source>%1 line ends</source>
        <translation>%1 换行符</translation>
    </message>
    <message>
        <source>oldest first</source>
        <translation>最早的在前</translation>
    </message>
    <message>
        <source>newest first</source>
        <translation>最新的在前</translation>
    </message>
    <message>
        <source>in mixed order</source>
        <translation>顺序混杂</translation>
    </message>
    <message>
        <source>the importer takes numbers from 0 to 65535 only</source>
        <translation>导入只接受 0 到 65535 之间的号码</translation>
    </message>
    <message>
        <source>CR LF</source>
        <translation>CR LF</translation>
    </message>
    <message>
        <source>line %1 was skipped: &quot;%2&quot; is a title, not a row of the table</source>
        <translation>已跳过第 %1 行：“%2”是标题，不是表格中的一行</translation>
    </message>
    <message>
        <source>no column holds the draw number or the draw date: name it in a header row (such as &quot;Draw Number&quot; or &quot;Draw Date&quot;)</source>
        <translation>没有一列是期号或开奖日期：请在表头中为其命名（如“Draw Number”或“Draw Date”）</translation>
    </message>
    <message>
        <source>no column holds the %1 numbers from %2 to %3 of a draw: name them in a header row (such as &quot;Ball 1&quot; or &quot;Winning Numbers&quot;)</source>
        <translation>没有一列包含一期开奖中从 %2 到 %3 的 %1 个号码：请在表头中为其命名（如“Ball 1”或“Winning Numbers”）</translation>
    </message>
    <message>
        <source>the line holds a NUL byte: the file is binary or damaged</source>
        <translation>该行含有 NUL 字节：文件是二进制文件或已损坏</translation>
    </message>
    <message>
        <source>more than one &quot;+&quot;: only the bonus number follows a &quot;+&quot;</source>
        <translation>“+”多于一个：只有特别号码跟在“+”之后</translation>
    </message>
    <message>
        <source>the bonus number is missing: write it after a &quot;+&quot;</source>
        <translation>缺少特别号码：请写在“+”之后</translation>
    </message>
    <message>
        <source>the issue is missing</source>
        <translation>缺少期号</translation>
    </message>
    <message>
        <source>expected %1 numbers after the issue, found %2</source>
        <translation>期号之后应有 %1 个号码，实际为 %2 个</translation>
    </message>
    <message>
        <source>expected one bonus number after the &quot;+&quot;, found %1</source>
        <translation>“+”之后应有一个特别号码，实际为 %1 个</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a number</source>
        <translation>“%1”不是数字</translation>
    </message>
    <message>
        <source>&quot;%1 %2 %3&quot; is not a date</source>
        <translation>“%1 %2 %3”不是日期</translation>
    </message>
    <message>
        <source>&quot;%1 %2 %3&quot; is not a real date</source>
        <translation>“%1 %2 %3”不是真实存在的日期</translation>
    </message>
    <message>
        <source>the date is missing</source>
        <translation>缺少日期</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a date with a four-digit year</source>
        <translation>“%1”不是带四位年份的日期</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a real date</source>
        <translation>“%1”不是真实存在的日期</translation>
    </message>
    <message>
        <source>the bonus number is missing</source>
        <translation>缺少特别号码</translation>
    </message>
    <message>
        <source>the issue &quot;%1&quot; is not a number</source>
        <translation>期号“%1”不是数字</translation>
    </message>
    <message>
        <source>the issue &quot;%1&quot; is longer than %2 digits</source>
        <translation>期号“%1”超过 %2 位</translation>
    </message>
    <message>
        <source>with ten digits or more</source>
        <translation>（十位或更多位）</translation>
    </message>
    <message>
        <source>the dates of column &quot;%1&quot; do not tell the day from the month (no number in either place is above 12, as in &quot;%2&quot;): choose the order in the preview</source>
        <translation>“%1”列的日期无法区分日和月（两个位置上都没有大于 12 的数字，如“%2”）：请在预览中选择顺序</translation>
    </message>
    <message>
        <source>%1 is not a real date (column &quot;%2&quot;)</source>
        <translation>%1 不是真实存在的日期（“%2”列）</translation>
    </message>
    <message>
        <source>issue %1 is also on line %2 with other numbers</source>
        <translation>期号 %1 也出现在第 %2 行，但号码不同</translation>
    </message>
    <message>
        <source>%1: issue %2 is held as &quot;%3&quot; but the file has &quot;%4&quot;</source>
        <translation>%1：期号 %2 已存为“%3”，但文件中为“%4”</translation>
    </message>
    <message>
        <source>%1 new, %2 already held, %3 conflicting, %4 bad</source>
        <translation>新增 %1 期，已有 %2 期，冲突 %3 期，错误 %4 期</translation>
    </message>
    <message>
        <source>, %1 repeated rows counted once</source>
        <translation>，%1 个重复行只计一次</translation>
    </message>
    <message>
        <source>more than one &quot;+&quot;: only the bonus numbers follow a &quot;+&quot;</source>
        <translation>有多个“+”：“+”后只能是特别号码</translation>
    </message>
    <message>
        <source>the bonus numbers are missing: write them after a &quot;+&quot;</source>
        <translation>缺少特别号码：请写在“+”之后</translation>
    </message>
    <message>
        <source>expected %1 bonus numbers after the &quot;+&quot;, found %2</source>
        <translation>“+”后应有 %1 个特别号码，实际有 %2 个</translation>
    </message>
    <message>
        <source>the bonus numbers are missing</source>
        <translation>缺少特别号码</translation>
    </message>
    <message>
        <source>expected one bonus number, found %1</source>
        <translation>应有一个特别号码，实际有 %1 个</translation>
    </message>
    <message>
        <source>expected %1 bonus numbers, found %2</source>
        <translation>应有 %1 个特别号码，实际有 %2 个</translation>
    </message>
    <message>
        <source>%1 %2 is out of range %3 to %4</source>
        <translation>%1 %2 超出范围 %3 到 %4</translation>
    </message>
    <message>
        <source>%1 %2 is drawn twice</source>
        <translation>%1 %2 出现了两次</translation>
    </message>
    <message>
        <source>the draws of the file have %1 bonus numbers, those of %2 (%3) have %4; the smallest lottery that holds the whole file is %5 (%6): use --lottery %7</source>
        <translation>文件中的开奖有 %1 个特别号码，%2 (%3) 的开奖有 %4 个；能容纳整个文件的最小彩票是 %5 (%6)：请使用 --lottery %7</translation>
    </message>
    <message>
        <source>the draws outside %1 (%2) are listed above; the smallest lottery that holds the whole file is %3: use --lottery %3</source>
        <translation>超出 %1 (%2) 的开奖已在上面列出；能容纳整个文件的最小彩票是 %3：请使用 --lottery %3</translation>
    </message>
    <message>
        <source>the line is %1 bytes long; a draw line holds at most %2</source>
        <translation>该行长 %1 字节；一行开奖记录最多 %2 字节</translation>
    </message>
</context>
<context>
    <name>StatisticsModel</name>
    <message>
        <source>%1 draws against %2 expected</source>
        <translation>开出 %1 次，预期 %2 次</translation>
    </message>
    <message>
        <source>Number</source>
        <translation>号码</translation>
    </message>
    <message>
        <source>Drawn</source>
        <translation>开出次数</translation>
    </message>
    <message>
        <source>Draws since</source>
        <translation>遗漏期数</translation>
    </message>
    <message>
        <source>Longest gap</source>
        <translation>最长遗漏</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>冷热</translation>
    </message>
    <message>
        <source>hot</source>
        <translation>热</translation>
    </message>
    <message>
        <source>cold</source>
        <translation>冷</translation>
    </message>
    <message>
        <source>bonus %1</source>
        <translation>特别号码 %1</translation>
    </message>
    <message>
        <source>never</source>
        <translation>从未开出</translation>
    </message>
</context>
<context>
    <name>VersionShelf</name>
    <message>
        <source>cannot create the folder %1 for earlier versions</source>
        <translation>无法创建存放早期版本的文件夹 %1</translation>
    </message>
</context>
<context>
    <name>qrt::app::FrequencyChart</name>
    <message>
        <source>Basic numbers</source>
        <translation>基本号码</translation>
    </message>
    <message>
        <source>Bonus drum %1-%2</source>
        <translation>特别号码滚筒 %1-%2</translation>
    </message>
    <message>
        <source>Bonus numbers</source>
        <translation>特别号码</translation>
    </message>
    <message>
        <source>Bonus number</source>
        <translation>特别号码</translation>
    </message>
    <message>
        <source>How often each number was drawn: %1 draws, issues %2 to %3</source>
        <translation>各号码开出次数：%1 期，期号 %2 至 %3</translation>
    </message>
    <message>
        <source>No draws in the chosen range</source>
        <translation>所选范围内没有开奖记录</translation>
    </message>
    <message>
        <source>%1 %2: %3 times in %4 draws</source>
        <translation>%1 %2：%4 期中开出 %3 次</translation>
    </message>
    <message>
        <source>Show each count&apos;s departure from the expected count</source>
        <translation>显示每个次数与期望次数的偏差</translation>
    </message>
    <message>
        <source>Over many draws every number comes close to the count chance expects, and the bars look equal: this shows how far each is above or below it.</source>
        <translation>在大量开奖中，每个号码的次数都接近随机期望的次数，柱子看起来一样高：此选项显示每个号码高于或低于期望多少。</translation>
    </message>
    <message>
        <source>Above (+) or below (-) the expected count: %1 draws, issues %2 to %3</source>
        <translation>高于 (+) 或低于 (-) 期望次数：%1 期，期号 %2 至 %3</translation>
    </message>
</context>
<context>
    <name>qrt::app::ImportPreview</name>
    <message>
        <source>Import Results</source>
        <translation>导入开奖结果</translation>
    </message>
    <message>
        <source>Dates as found</source>
        <translation>按文件中的日期</translation>
    </message>
    <message>
        <source>Day before month</source>
        <translation>日在月前</translation>
    </message>
    <message>
        <source>Month before day</source>
        <translation>月在日前</translation>
    </message>
    <message>
        <source>%1 is read as %2.</source>
        <translation>%1 按%2读取。</translation>
    </message>
    <message>
        <source>Role of %1</source>
        <translation>%1 的作用</translation>
    </message>
</context>
<context>
    <name>qrt::app::MainWindow</name>
    <message>
        <source>Data Manager</source>
        <translation>数据管理器</translation>
    </message>
    <message>
        <source>The draws were not saved: %1. Nothing was changed on disk; your changes are still in the window.</source>
        <translation>开奖记录未保存：%1。磁盘上未做任何更改；您的修改仍在窗口中。</translation>
    </message>
    <message>
        <source>Saved %1 draws</source>
        <translation>已保存 %1 期开奖记录</translation>
    </message>
    <message>
        <source>Draws from</source>
        <translation>开奖记录从</translation>
    </message>
    <message>
        <source>to</source>
        <translation>至</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>文件(&amp;F)</translation>
    </message>
    <message>
        <source>&amp;Open Draw File...</source>
        <translation>打开开奖文件(&amp;O)...</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>保存(&amp;S)</translation>
    </message>
    <message>
        <source>&amp;Import CSV...</source>
        <translation>导入 CSV(&amp;I)...</translation>
    </message>
    <message>
        <source>&amp;Export as CSV...</source>
        <translation>导出为 CSV(&amp;E)...</translation>
    </message>
    <message>
        <source>Export &amp;Statistics as CSV...</source>
        <translation>将统计导出为 CSV(&amp;T)...</translation>
    </message>
    <message>
        <source>Export Statistics as CSV</source>
        <translation>将统计导出为 CSV</translation>
    </message>
    <message>
        <source>The statistics were exported, but: %1</source>
        <translation>统计已导出，但是：%1</translation>
    </message>
    <message>
        <source>The statistics were not exported: %1</source>
        <translation>统计未导出：%1</translation>
    </message>
    <message>
        <source>Earlier &amp;Versions...</source>
        <translation>早期版本(&amp;V)...</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>退出(&amp;Q)</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>撤销(&amp;U)</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>重做(&amp;R)</translation>
    </message>
    <message>
        <source>&amp;Go to Issue...</source>
        <translation>转到期号(&amp;G)...</translation>
    </message>
    <message>
        <source>&amp;Lottery</source>
        <translation>彩票(&amp;L)</translation>
    </message>
    <message>
        <source>&amp;Custom...</source>
        <translation>自定义(&amp;C)...</translation>
    </message>
    <message>
        <source>Loading the draws of %1...</source>
        <translation>正在载入 %1 的开奖记录...</translation>
    </message>
    <message>
        <source>%1 (error %2)</source>
        <translation>%1（错误 %2）</translation>
    </message>
    <message>
        <source>The first issue of the draws the chart counts</source>
        <translation>图表统计的开奖记录的第一个期号</translation>
    </message>
    <message>
        <source>The last issue of the draws the chart counts</source>
        <translation>图表统计的开奖记录的最后一个期号</translation>
    </message>
    <message>
        <source>How often each number was drawn</source>
        <translation>各号码开出次数</translation>
    </message>
    <message>
        <source>A bar for each number of %1; a bar&apos;s tooltip gives its count</source>
        <translation>%1 的每个号码对应一根柱子；柱子的提示显示其次数</translation>
    </message>
    <message>
        <source>Draws of %1</source>
        <translation>%1 的开奖记录</translation>
    </message>
    <message>
        <source>One draw a row: the issue, then the numbers; the last row takes a new draw</source>
        <translation>每行一期开奖：先是期号，然后是号码；最后一行用于输入新的一期</translation>
    </message>
    <message>
        <source>Cell</source>
        <translation>单元格</translation>
    </message>
    <message>
        <source>The text of the current cell; Enter moves to the next one</source>
        <translation>当前单元格的文本；按回车键移到下一个单元格</translation>
    </message>
    <message>
        <source>Saving the draws of %1...</source>
        <translation>正在保存 %1 的开奖记录...</translation>
    </message>
    <message>
        <source>Add the draws of %1 that the history does not hold yet?</source>
        <translation>是否添加历史数据中尚没有的 %1 的开奖记录？</translation>
    </message>
    <message>
        <source>The draws of %1 were changed. Save them?</source>
        <translation>%1 的开奖记录已更改。是否保存？</translation>
    </message>
    <message>
        <source>  (no draws yet: type them into the last row, paste them, or open or import a file)</source>
        <translation>  （尚无开奖记录：请在最后一行输入或粘贴，或者打开或导入文件）</translation>
    </message>
    <message>
        <source>Reading %1...</source>
        <translation>正在读取 %1...</translation>
    </message>
    <message>
        <source>%1 was not loaded:
%2</source>
        <translation>%1 未载入：
%2</translation>
    </message>
    <message>
        <source>Draw file errors</source>
        <translation>开奖文件错误</translation>
    </message>
    <message>
        <source>The draws of %1 were read, but its backup could not be kept (%2), so saves will not write back to it.</source>
        <translation>已读取 %1 的开奖记录，但未能保留其备份（%2），因此保存时不会写回该文件。</translation>
    </message>
    <message>
        <source>Read %1 draws from %2; Save keeps them and writes them back to it</source>
        <translation>已从 %2 读取 %1 期开奖记录；保存会保留它们并写回该文件</translation>
    </message>
    <message>
        <source>Read %1 draws from %2; Save keeps them</source>
        <translation>已从 %2 读取 %1 期开奖记录；保存会保留它们</translation>
    </message>
    <message>
        <source>Open Draw File</source>
        <translation>打开开奖文件</translation>
    </message>
    <message>
        <source>Text File(*.txt)|*.txt|All files|*</source>
        <translation>文本文件(*.txt)|*.txt|所有文件|*</translation>
    </message>
    <message>
        <source>Custom lottery</source>
        <translation>自定义彩票</translation>
    </message>
    <message>
        <source>A bonus number follows the basic numbers</source>
        <translation>基本号码之后有一个特别号码</translation>
    </message>
    <message>
        <source>Bonus numbers come from a second drum</source>
        <translation>特别号码来自第二个滚筒</translation>
    </message>
    <message>
        <source>Basic numbers per draw</source>
        <translation>每期基本号码个数</translation>
    </message>
    <message>
        <source>Smallest number</source>
        <translation>最小号码</translation>
    </message>
    <message>
        <source>Largest number</source>
        <translation>最大号码</translation>
    </message>
    <message>
        <source>Bonus numbers per draw</source>
        <translation>每期特别号码个数</translation>
    </message>
    <message>
        <source>Smallest bonus number</source>
        <translation>最小特别号码</translation>
    </message>
    <message>
        <source>Largest bonus number</source>
        <translation>最大特别号码</translation>
    </message>
    <message>
        <source>Issue %1 is not in the draws of %2.</source>
        <translation>%2 的开奖记录中没有期号 %1。</translation>
    </message>
    <message>
        <source>Go to Issue</source>
        <translation>转到期号</translation>
    </message>
    <message>
        <source>Issue:</source>
        <translation>期号：</translation>
    </message>
    <message>
        <source>Writing %1...</source>
        <translation>正在写入 %1...</translation>
    </message>
    <message>
        <source>The draws were not exported: %1</source>
        <translation>开奖记录未导出：%1</translation>
    </message>
    <message>
        <source>The draws were exported, but: %1</source>
        <translation>开奖记录已导出，但是：%1</translation>
    </message>
    <message>
        <source>Exported %1 draws to %2</source>
        <translation>已将 %1 期开奖记录导出到 %2</translation>
    </message>
    <message>
        <source>%1 was not loaded: %2</source>
        <translation>%1 未载入：%2</translation>
    </message>
    <message>
        <source>%1 has %2 bad lines:
%3

Import its other draws and skip these lines?</source>
        <translation>%1 有 %2 行错误：
%3

是否导入其他开奖记录并跳过这些行？</translation>
    </message>
    <message>
        <source>%1 was not imported: %2 issues are held with other numbers.
%3</source>
        <translation>%1 未导入：有 %2 个期号已存有不同的号码。
%3</translation>
    </message>
    <message>
        <source>Read %1: %2; Save keeps them</source>
        <translation>已读取 %1：%2；保存会保留它们</translation>
    </message>
    <message>
        <source>Export as CSV</source>
        <translation>导出为 CSV</translation>
    </message>
    <message>
        <source>Import CSV</source>
        <translation>导入 CSV</translation>
    </message>
    <message>
        <source>CSV|*.csv|All files|*</source>
        <translation>CSV|*.csv|所有文件|*</translation>
    </message>
    <message>
        <source>draws unknown</source>
        <translation>期数未知</translation>
    </message>
    <message>
        <source>%1 draws</source>
        <translation>%1 期</translation>
    </message>
    <message>
        <source>There is no earlier version %1 of %2.</source>
        <translation>%2 没有早期版本 %1。</translation>
    </message>
    <message>
        <source>it holds draws of %1</source>
        <translation>其中是 %1 的开奖记录</translation>
    </message>
    <message>
        <source>Version %1 cannot be used:
%2</source>
        <translation>无法使用版本 %1：
%2</translation>
    </message>
    <message>
        <source>Version %1 (%2 draws) is shown; Save keeps it</source>
        <translation>正在显示版本 %1（%2 期）；保存会保留它</translation>
    </message>
    <message>
        <source>No earlier versions of %1 are kept yet: each save keeps the state it replaces.</source>
        <translation>%1 尚无早期版本：每次保存都会保留被替换的状态。</translation>
    </message>
    <message>
        <source>Earlier Versions</source>
        <translation>早期版本</translation>
    </message>
    <message>
        <source>Each save kept the draws it replaced. Choose one to show it; Save then keeps it.</source>
        <translation>每次保存都保留了被替换的开奖记录。选择一个版本即可显示；随后保存会保留它。</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>恢复(&amp;R)</translation>
    </message>
    <message>
        <source>Typed draws could not be kept safe until saved: %1</source>
        <translation>输入的开奖记录在保存前无法妥善保留：%1</translation>
    </message>
    <message>
        <source>The draws of %1 were changed and not saved when the program last ended (%2 rows after the first %3 saved draws). Bring the changes back?</source>
        <translation>%1 的开奖记录在程序上次退出时已更改但未保存（在前 %3 期已保存记录之后有 %2 行）。是否恢复这些更改？</translation>
    </message>
    <message>
        <source>Import &amp;Results...</source>
        <translation>导入开奖结果(&amp;R)...</translation>
    </message>
    <message>
        <source>&amp;Update from the Web...</source>
        <translation>从网上更新(&amp;U)...</translation>
    </message>
    <message>
        <source>Downloading %1...</source>
        <translation>正在下载 %1...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Update from the Web</source>
        <translation>从网上更新</translation>
    </message>
    <message>
        <source>Address of the published result file of %1:</source>
        <translation>%1 公布的开奖结果文件地址：</translation>
    </message>
    <message>
        <source>Updating the draws of %1...</source>
        <translation>正在更新 %1 的开奖记录...</translation>
    </message>
    <message>
        <source>%1 holds %2 draws already. Add the draws of %3 that it does not hold (Yes), replace them all with the draws of the file (No), or cancel?</source>
        <translation>%1 已有 %2 期开奖记录。添加 %3 中尚未保存的开奖（是），用文件中的开奖全部替换（否），还是取消？</translation>
    </message>
    <message>
        <source>%1 was not added: %2 issues are held with other numbers.
%3</source>
        <translation>%1 未添加：有 %2 个期号已保存为其他号码。
%3</translation>
    </message>
    <message>
        <source>The draws are back as they were; Save keeps them</source>
        <translation>开奖记录已恢复原样；保存后生效</translation>
    </message>
    <message>
        <source>Import Results</source>
        <translation>导入开奖结果</translation>
    </message>
    <message>
        <source>Result files (*.csv *.txt)|*.csv;*.txt|All files|*</source>
        <translation>开奖结果文件 (*.csv *.txt)|*.csv;*.txt|所有文件|*</translation>
    </message>
    <message>
        <source>No draw is missing from the history of %1.</source>
        <translation>%1 的历史记录中没有缺失的开奖。</translation>
    </message>
    <message>
        <source>Missing Draws</source>
        <translation>缺失的开奖</translation>
    </message>
    <message>
        <source>%1 holes in the history of %2. Go to shows the draw held after the one chosen.</source>
        <translation>%2 的历史记录中有 %1 处缺失。“转到”显示所选项之后已保存的开奖。</translation>
    </message>
    <message>
        <source>Find &amp;Missing Draws...</source>
        <translation>查找缺失的开奖(&amp;M)...</translation>
    </message>
    <message>
        <source>

The smallest lottery that holds the whole file is %1; choose it under Lottery &gt; Custom.</source>
        <translation>

能容纳整个文件的最小彩票是 %1；请在“彩票 &gt; 自定义”中选择。</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>&amp;Remove Custom Lottery...</source>
        <translation>移除自定义彩票(&amp;R)...</translation>
    </message>
    <message>
        <source>Adding the draws of %1...</source>
        <translation>正在添加 %1 的开奖...</translation>
    </message>
    <message>
        <source>Counting %1 draws...</source>
        <translation>正在统计 %1 期开奖...</translation>
    </message>
    <message>
        <source>optional</source>
        <translation>可选</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>名称</translation>
    </message>
    <message>
        <source>Remove %1 from the Lottery menu? Its draws stay in %2; making a custom lottery of the same numbers again brings them back.</source>
        <translation>从彩票菜单中移除 %1？其开奖数据保留在 %2 中；以相同号码再次创建自定义彩票即可找回。</translation>
    </message>
    <message>
        <source>%1 was removed from the menu; its draws are kept</source>
        <translation>%1 已从菜单中移除；其开奖数据已保留</translation>
    </message>
    <message>
        <source>Remove Custom Lottery</source>
        <translation>移除自定义彩票</translation>
    </message>
    <message>
        <source>Custom lottery to remove from the menu:</source>
        <translation>要从菜单中移除的自定义彩票：</translation>
    </message>
    <message>
        <source>New draw, %1</source>
        <translation>新开奖，%1</translation>
    </message>
    <message>
        <source>Issue %1, %2</source>
        <translation>第 %1 期，%2</translation>
    </message>
</context>
<context>
    <name>qrt::app::MessageDialog</name>
    <message>
        <source>&amp;Copy</source>
        <translation>复制(&amp;C)</translation>
    </message>
</context>
<context>
    <name>qrt::app::StatisticsView</name>
    <message>
        <source>Statistics of the chosen draws</source>
        <translation>所选开奖记录的统计</translation>
    </message>
    <message>
        <source>Per number: how often it was drawn, the draws since it last came, its longest gap and whether it is hot or cold; sort by any column</source>
        <translation>每个号码：开出次数、自上次开出以来的期数、最长遗漏，以及是热号还是冷号；可按任意列排序</translation>
    </message>
    <message>
        <source>Most frequent pairs: %1</source>
        <translation>最常同时开出的号码对：%1</translation>
    </message>
</context>
<context>
    <name>qrt::app::TextEditorWindow</name>
    <message>
        <source>%1 (not read: %2)</source>
        <translation>%1（未读取：%2）</translation>
    </message>
    <message>
        <source>%1 was not saved: %2</source>
        <translation>%1 未保存：%2</translation>
    </message>
    <message>
        <source>%1 was saved, but: %2</source>
        <translation>%1 已保存，但：%2</translation>
    </message>
    <message>
        <source>%1 was changed. Save it?</source>
        <translation>%1 已更改。是否保存？</translation>
    </message>
    <message>
        <source>Edit Text File</source>
        <translation>编辑文本文件</translation>
    </message>
</context>
</TS>
