#include "CliTexts.h"

#include <algorithm>
#include <array>

namespace {
struct TextRow {
    CliText text;
    std::u16string_view english;
    std::u16string_view chinese;
};

// A new command is a row of CliCommands; a new option goes into Help. Both go
// into the manual page and the bash completion beside them (data/).
constexpr std::array Texts{
    TextRow{CliText::Help,
            u"Reads and writes the information of a KVT4610 radio on the programming cable.\n"
            u"\n"
            u"%1\n"
            u"  --save FILE     read: save the 256-byte information area as read\n"
            u"  --backup DIR    write, batch, restore: save each radio's information area\n"
            u"                  into DIR before writing it (a batch then reads every block)\n"
            u"  --log FILE.csv  batch: append one row per radio as it finishes\n"
            u"  --force         restore: accept a file of another radio (serial number), or\n"
            u"                  one whose serial number is empty or erased\n"
            u"  --trace         every frame sent and received to stderr\n"
            u"  -h, --help      show this text\n"
            u"  --version       show the program's version\n"
            u"An option takes its value as --option VALUE or --option=VALUE, before or\n"
            u"after the command; -- ends the options (for a FILE beginning with -).\n"
            u"\n"
            u"FIELDS:\n"
            u"%2\n"
            u"A batch writes every field above into each radio: the given FIELDS, and the\n"
            u"defaults for the rest (empty texts, flags 0, band 1), so a text not given is\n"
            u"blanked. Before the first radio it prints what every radio gets.\n"
            u"write changes only the given FIELDS; the radio keeps its band unless --band\n"
            u"is given. A band written over another is said on stderr.\n"
            u"\n"
            u"PORT: COMn as radioinfo-cli ports lists it, or a device path such as\n"
            u"      /dev/ttyUSB0; without --port, the port the window saved (mysetup.ini).\n"
            u"      When none is saved or it is not listed, read and verify use the first\n"
            u"      port listed (named on stderr); write, batch and restore write nothing\n"
            u"      (status 3).\n"
            u"exit status: 0 done, 1 output could not be written, 2 usage, 3 port cannot be\n"
            u"             opened or is in use, 4 communication error, 5 model or version\n"
            u"             error, 6 --save or --log file could not be written, 7 backup\n"
            u"             could not be saved (nothing written to that radio), 8 restore\n"
            u"             or verify refused: another radio's file, 9 restore not confirmed\n"
            u"             by the read-back, 10 FILE cannot be read or is no KVT4610\n"
            u"             information area of 256 bytes (--latest, --list: no kept read of\n"
            u"             the radio), 11 verify: the radio differs from FILE, 130 stopped\n"
            u"             by Ctrl+C, SIGTERM or SIGHUP\n"
            u"Every read of a radio in full is kept in $XDG_DATA_HOME/radioinfo/reads (a year,\n"
            u"and at least the last ten of each radio); verify keeps none.\n"
            u"Control characters of the radio's texts are printed escaped (\\n, \\x1b).\n",
            u"读出或写入编程线上 KVT4610 对讲机的信息。\n"
            u"\n"
            u"%1\n"
            u"  --save 文件     read：把读出的 256 字节信息区原样保存\n"
            u"  --backup 目录   write、batch、restore：写入前把每台对讲机的信息区保存到目录\n"
            u"                  （batch 因此读出全部数据块）\n"
            u"  --log 文件.csv  batch：每完成一台追加一行\n"
            u"  --force         restore：接受另一台对讲机（序列号不同）或序列号空白、已擦除\n"
            u"                  的文件\n"
            u"  --trace         把收发的每一帧打印到标准错误\n"
            u"  -h, --help      显示本说明\n"
            u"  --version       显示程序版本\n"
            u"选项的值可写作 --选项 值 或 --选项=值，放在命令之前或之后均可；-- 表示选项\n"
            u"到此为止（用于以 - 开头的文件名）。\n"
            u"\n"
            u"字段：\n"
            u"%2\n"
            u"batch 向每台对讲机写入上面的全部字段：给出的字段用给出的值，其余用默认值\n"
            u"（文字为空，标志为 0，频段为 1），所以未给出的文字会被清空。写第一台之前先\n"
            u"打印每台将写入的内容。\n"
            u"write 只修改给出的字段；不给 --band 时对讲机保持原频段。覆盖了原频段时会在\n"
            u"标准错误中说明。\n"
            u"\n"
            u"串口：radioinfo-cli ports 列出的 COMn，或设备路径，例如 /dev/ttyUSB0；不给\n"
            u"      --port 时用窗口保存的串口（mysetup.ini）。没有保存或它不在列表中时，\n"
            u"      read 和 verify 用列表中的第一个串口（在标准错误中说明）；write、batch\n"
            u"      和 restore 不写入（状态 3）。\n"
            u"退出状态：0 完成，1 无法写出输出，2 用法错误，3 无法打开串口或串口被占用，\n"
            u"          4 通讯错误，5 机型或版本错误，6 无法写入 --save 或 --log 文件，\n"
            u"          7 无法保存备份（未写入该对讲机），8 拒绝恢复或核对：文件属于另一台\n"
            u"          对讲机，9 恢复后读出核对不符，10 文件无法读取或不是 256 字节的\n"
            u"          KVT4610 信息区（--latest、--list：没有该对讲机的保留副本），\n"
            u"          11 verify：对讲机与文件不同，130 被 Ctrl+C、SIGTERM 或 SIGHUP 停止\n"
            u"每次完整读出的对讲机都保留在 $XDG_DATA_HOME/radioinfo/reads（保留一年，\n"
            u"每台对讲机至少保留最近十份）；verify 不保留。\n"
            u"对讲机文字中的控制字符以转义形式打印（\\n、\\x1b）。\n"},
    TextRow{CliText::TryHelp, u"Try 'radioinfo-cli --help' for more information.",
            u"请尝试执行“radioinfo-cli --help”来获取更多信息。"},
    TextRow{CliText::UnknownOption, u"unknown option %1", u"未知选项 %1"},
    TextRow{CliText::UnknownCommand, u"unknown command %1", u"未知命令 %1"},
    TextRow{CliText::UnexpectedArgument, u"unexpected argument %1", u"多余的参数 %1"},
    TextRow{CliText::NeedsValue, u"%1 needs a value", u"%1 需要一个值"},
    TextRow{CliText::NoCommand, u"no command: %1", u"缺少命令：%1"},
    TextRow{CliText::ZeroOrOne, u"%1: 0 or 1", u"%1：只能是 0 或 1"},
    TextRow{CliText::WholeNumber, u"%1: a whole number from 1 to 2147483647",
            u"%1：需要 1 到 2147483647 之间的整数"},
    TextRow{CliText::NotStorable, u"%1: a character cannot be stored in the radio",
            u"%1：有字符无法存入对讲机"},
    TextRow{CliText::TextTooLong, u"%1: at most %2 bytes (a Chinese character takes two)",
            u"%1：最多 %2 个字节（一个汉字占两个）"},
    TextRow{CliText::AsciiTooLong, u"%1: at most %2 ASCII characters",
            u"%1：最多 %2 个 ASCII 字符"},
    TextRow{CliText::ControlCharacter,
            u"%1: no control characters (line breaks, tabs, ...): the radio would hold what "
            u"no field shows",
            u"%1：不能含控制字符（换行、制表符等）：对讲机中会存入字段显示不出的内容"},
    TextRow{CliText::TakesNoValue, u"%1 takes no value", u"%1 不带值"},
    TextRow{CliText::PortsTakesNoPort, u"ports lists every port: it takes no --port and no field",
            u"ports 列出所有串口：不带 --port，也不带字段"},
    TextRow{CliText::TextValue, u"T", u"文字"},
    TextRow{CliText::ReadChangesNoField, u"read changes no field", u"read 不修改任何字段"},
    TextRow{CliText::BatchNeedsCount, u"batch needs --count N", u"batch 需要 --count 台数"},
    TextRow{CliText::CountBelongsToBatch, u"--count belongs to batch", u"--count 只用于 batch"},
    TextRow{CliText::JsonBelongsToRead, u"--json belongs to read, verify and ports",
            u"--json 只用于 read、verify 和 ports"},
    TextRow{CliText::PortForm, u"--port: COMn (n from 1 to 999) or a device path",
            u"--port：COMn（n 为 1 到 999）或设备路径"},
    TextRow{CliText::RadioNo, u"Radio No.: %1", u"当前台数：%1"},
    TextRow{CliText::BandWritten, u"band %1 written, the radio had band %2",
            u"已写入频段 %1，对讲机原为频段 %2"},
    TextRow{CliText::BatchSettings, u"every radio gets %1", u"每台对讲机写入 %1"},
    TextRow{CliText::RadioWritten, u"radio %1 of %2 written: %3",
            u"第 %1 台（共 %2 台）已写入：%3"},
    TextRow{CliText::RadioWrittenNoSerial, u"radio %1 of %2 written; it holds no serial number",
            u"第 %1 台（共 %2 台）已写入；对讲机中没有序列号"},
    TextRow{CliText::RadiosWritten, u"%1 of %2 radios written", u"已写入 %1 台对讲机（共 %2 台）"},
    TextRow{CliText::NoPortGiven, u"no --port and no saved port: using %1",
            u"未给 --port，也没有保存的串口：使用 %1"},
    TextRow{CliText::SavedPortGone, u"no --port, and the saved port %1 is not listed: using %2",
            u"未给 --port，保存的串口 %1 不在列表中：使用 %2"},
    TextRow{CliText::SavedPortNotListedNoWrite,
            u"no --port, and the saved port %1 is not listed: nothing written (listed: %2)",
            u"未给 --port，保存的串口 %1 不在列表中：未写入（列表中的串口：%2）"},
    TextRow{CliText::NoSavedPortNoWrite,
            u"no --port and no saved port: nothing written (listed: %1)",
            u"未给 --port，也没有保存的串口：未写入（列表中的串口：%1）"},
    TextRow{CliText::NoneListed, u"none", u"无"},
    TextRow{CliText::NoPortListed,
            u"no --port, and no port is listed (radioinfo-cli ports shows the list)",
            u"未给 --port，列表中也没有串口（radioinfo-cli ports 显示列表）"},
    TextRow{CliText::PortAlias, u"alias %1", u"别名 %1"},
    TextRow{CliText::PortBrokenAlias, u"broken alias %1: %2", u"失效的别名 %1：%2"},
    TextRow{CliText::OutputFailed, u"cannot write the output: %1", u"无法写出输出：%1"},
    TextRow{CliText::RestoreChangesNoField, u"restore takes its fields from FILE",
            u"restore 的字段取自文件"},
    TextRow{CliText::RestoreNeedsFile, u"restore needs one of FILE, --latest or --list",
            u"restore 需要文件、--latest 或 --list 其中之一"},
    TextRow{CliText::LatestBelongsToRestore,
            u"--latest belongs to restore and verify, --list to restore",
            u"--latest 只用于 restore 和 verify，--list 只用于 restore"},
    TextRow{CliText::SaveBelongsToRead, u"--save belongs to read", u"--save 只用于 read"},
    TextRow{CliText::BackupBelongsToWrite, u"--backup belongs to write, batch and restore",
            u"--backup 只用于 write、batch 和 restore"},
    TextRow{CliText::LogBelongsToBatch, u"--log belongs to batch", u"--log 只用于 batch"},
    TextRow{CliText::ForceBelongsToRestore, u"--force belongs to restore",
            u"--force 只用于 restore"},
    TextRow{CliText::SaveFailed, u"cannot save %1: %2", u"无法保存 %1：%2"},
    TextRow{CliText::BackupSaved, u"backup saved: %1", u"备份已保存：%1"},
    TextRow{CliText::BackupFailed,
            u"cannot save the backup %1: %2; nothing was written to this radio",
            u"无法保存备份 %1：%2；未向这台对讲机写入任何数据"},
    TextRow{CliText::LogFailed, u"cannot write the log %1: %2", u"无法写入记录 %1：%2"},
    TextRow{CliText::FileUnreadable, u"cannot read %1: %2", u"无法读取 %1：%2"},
    TextRow{CliText::NotAnImage, u"%1 is not a saved information area (256 bytes)",
            u"%1 不是保存的信息区（256 字节）"},
    TextRow{
        CliText::OtherRadio,
        u"the file is of serial number %1, the radio is %2: nothing written (--force writes it)",
        u"文件的序列号是 %1，对讲机是 %2：未写入（--force 强制写入）"},
    TextRow{CliText::RestoreMismatch, u"the radio does not hold what was restored: %1",
            u"对讲机中的数据与恢复的不符：%1"},
    TextRow{CliText::RestoreVerified,
            u"restored and read back: the radio holds the file's settings",
            u"已恢复并读出核对：对讲机中是文件的设置"},
    TextRow{CliText::CountAtLeastOne, u"--count: at least 1", u"--count：至少为 1"},
    TextRow{CliText::NotThisModel,
            u"%1 is not the information area of a KVT4610 of an accepted version (it holds "
            u"%2): nothing written, not even with --force",
            u"%1 不是可接受版本的 KVT4610 信息区（其中是 %2）：未写入，--force 也不写入"},
    TextRow{CliText::SerialProvesNothing,
            u"a serial number that is empty or erased proves nothing (file: \"%1\", radio: "
            u"\"%2\"): nothing written (--force writes it)",
            u"空白或已擦除的序列号不能证明是同一台对讲机（文件：“%1”，对讲机：“%2”）：未写入"
            u"（--force 强制写入）"},
    TextRow{CliText::FinishingRadio,
            u"%1: the radio being written is finished first; Ctrl+C again stops at once",
            u"%1：先写完正在写入的对讲机；再按一次 Ctrl+C 立即停止"},
    TextRow{CliText::StoppedFinished, u"stopped by %1 after the radio being written was finished",
            u"写完正在写入的对讲机后已因 %1 停止"},
    TextRow{CliText::StoppedNotWriting, u"stopped by %1 while no block was being written",
            u"已因 %1 停止，当时没有数据块正在写入"},
    TextRow{CliText::StoppedAtOnce, u"stopped at once by a second Ctrl+C: %1",
            u"第二次 Ctrl+C 已立即停止：%1"},
    TextRow{CliText::KeepFailed, u"cannot keep a copy of this read in %1: %2 (the run goes on)",
            u"无法在 %1 保留这次读出的副本：%2（继续运行）"},
    TextRow{CliText::NoKeptRead, u"no kept read of the radio %1 in %2: nothing written",
            u"%2 中没有对讲机 %1 的保留副本：未写入"},
    TextRow{CliText::RestoringKept, u"restoring the kept read %1 (read %2)",
            u"从保留的副本 %1 恢复（读出于 %2）"},
    TextRow{CliText::KeptAlreadyHeld,
            u"the radio already holds the dealer settings of that kept read: nothing written "
            u"(restore --list shows the older ones, restore FILE writes one of them)",
            u"对讲机中已是该副本的经销商设置：未写入（restore --list 列出更早的副本，"
            u"restore 文件 写入其中一份）"},
    TextRow{CliText::NoProvenKeptRead,
            u"the radio's serial number \"%1\" is empty, erased or shows no character: no kept "
            u"read can be proven to be this radio's, nothing written (restore FILE --force "
            u"writes a file named by hand)",
            u"对讲机的序列号“%1”为空、已擦除或没有可显示的字符：没有能证明属于这台对讲机的保留"
            u"副本，未写入（restore 文件 --force 可写入手动指定的文件）"},
    TextRow{CliText::AliasBrokenNotWritten,
            u"COM%1 is an alias that is broken, and the port of that number is another device: "
            u"nothing written",
            u"COM%1 是已失效的别名，该编号的串口是另一个设备：未写入"},
    TextRow{CliText::NameNotText,
            u"%1: the file name \"%2\" is not valid text in this system's encoding; it would "
            u"be saved or read under another name: rename it",
            u"%1：文件名“%2”不是本系统编码的有效文字，会以其他名称保存或读取：请改名"},
    TextRow{CliText::VerifyNeedsFile, u"verify needs one of FILE or --latest",
            u"verify 需要文件或 --latest 其中之一"},
    TextRow{CliText::VerifyChangesNoField, u"verify compares, it changes no field",
            u"verify 只作比较，不修改任何字段"},
    TextRow{CliText::VerifyOtherRadio,
            u"the file is of serial number %1, the radio is %2: not compared",
            u"文件的序列号是 %1，对讲机是 %2：未比较"},
    TextRow{CliText::VerifySerialProvesNothing,
            u"a serial number that is empty or erased proves nothing (file: \"%1\", radio: "
            u"\"%2\"): not compared",
            u"空白或已擦除的序列号不能证明是同一台对讲机（文件：“%1”，对讲机：“%2”）：未比较"},
    TextRow{CliText::VerifyingKept, u"comparing with the kept read %1 (read %2)",
            u"与保留的副本 %1 比较（读出于 %2）"},
    TextRow{CliText::VerifyEqual, u"the radio holds every field of %1",
            u"对讲机中的每个字段都与 %1 相同"},
    TextRow{CliText::VerifyDiffers, u"the radio differs from %1 in %2 of its fields",
            u"对讲机与 %1 有 %2 个字段不同"},
    TextRow{CliText::VerifyNotThisModel,
            u"%1 is not the information area of a KVT4610 of an accepted version (it holds "
            u"%2): not compared",
            u"%1 不是可接受版本的 KVT4610 信息区（其中是 %2）：未比较"},
    TextRow{CliText::VerifyNoKeptRead, u"no kept read of the radio %1 in %2: not compared",
            u"%2 中没有对讲机 %1 的保留副本：未比较"},
    TextRow{CliText::VerifyNoProvenKeptRead,
            u"the radio's serial number \"%1\" is empty, erased or shows no character: no kept "
            u"read can be proven to be this radio's, not compared (verify FILE compares a file "
            u"of the same serial number)",
            u"对讲机的序列号“%1”为空、已擦除或没有可显示的字符：没有能证明属于这台对讲机的保留"
            u"副本，未比较（verify 文件 可与序列号相同的文件比较）"},
};
} // namespace

std::u16string CliTextFor(CliText text, int langType, std::u16string_view subject,
                          std::u16string_view second, std::u16string_view third) {
    const auto row = std::ranges::find(Texts, text, &TextRow::text);
    if (row == Texts.end()) {
        return {};
    }
    const std::u16string_view pattern = langType == 2 ? row->chinese : row->english;
    const std::u16string_view values[] = {subject, second, third};
    // One pass over the text itself, so a value holding "%2" stays as it is.
    std::u16string result;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char16_t next = i + 1 < pattern.size() ? pattern[i + 1] : u'\0';
        if (pattern[i] == u'%' && next >= u'1' && next <= u'3') {
            result += values[next - u'1'];
            ++i;
        } else {
            result += pattern[i];
        }
    }
    return result;
}
