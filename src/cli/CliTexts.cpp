#include "CliTexts.h"

#include <array>

namespace {
struct TextRow {
    CliText text;
    std::u16string_view english;
    std::u16string_view chinese;
};

// New commands and options go into Usage and Help, and into the manual page
// and the bash completion beside them (data/).
constexpr std::array Texts{
    TextRow{CliText::Usage,
            u"usage: radioinfo-cli [--port PORT] read [--json]\n"
            u"       radioinfo-cli [--port PORT] write [FIELDS]\n"
            u"       radioinfo-cli [--port PORT] batch --count N [FIELDS]\n"
            u"       radioinfo-cli --help | --version\n",
            u"用法：radioinfo-cli [--port 串口] read [--json]\n"
            u"      radioinfo-cli [--port 串口] write [字段]\n"
            u"      radioinfo-cli [--port 串口] batch --count 台数 [字段]\n"
            u"      radioinfo-cli --help | --version\n"},
    TextRow{CliText::Help,
            u"Reads and writes the information of a KVT4610 radio on the programming cable.\n"
            u"\n"
            u"  read            print every field as the window shows it (--json: one object)\n"
            u"  write           read the radio, change the given FIELDS, write it back\n"
            u"  batch           write the defaults plus FIELDS into N radios one after another\n"
            u"\n"
            u"FIELDS: --dealer-code T --stock-date T --sell-date T --seller T --password T\n"
            u"        --band 0|1 --freq-set 0|1 --stun 0|1 --kill 0|1\n"
            u"PORT: COMn or a device path such as /dev/ttyUSB0; without --port, the port\n"
            u"      the window saved (mysetup.ini)\n"
            u"  -h, --help      show this text\n"
            u"  --version       show the program's version\n"
            u"exit status: 0 done, 1 output could not be written, 2 usage, 3 port cannot be\n"
            u"             opened, 4 communication error, 5 model or version error,\n"
            u"             130 stopped by Ctrl+C\n",
            u"读出或写入编程线上 KVT4610 对讲机的信息。\n"
            u"\n"
            u"  read            按窗口的显示打印每个字段（--json：一个 JSON 对象）\n"
            u"  write           读出对讲机，修改给出的字段，再写回\n"
            u"  batch           把默认值和给出的字段依次写入 N 台对讲机\n"
            u"\n"
            u"字段：--dealer-code 文字 --stock-date 文字 --sell-date 文字 --seller 文字\n"
            u"      --password 文字 --band 0|1 --freq-set 0|1 --stun 0|1 --kill 0|1\n"
            u"串口：COMn 或设备路径，例如 /dev/ttyUSB0；不给 --port 时用窗口保存的串口\n"
            u"      （mysetup.ini）\n"
            u"  -h, --help      显示本说明\n"
            u"  --version       显示程序版本\n"
            u"退出状态：0 完成，1 无法写出输出，2 用法错误，3 无法打开串口，4 通讯错误，\n"
            u"          5 机型或版本错误，130 被 Ctrl+C 停止\n"},
    TextRow{CliText::UnknownOption, u"unknown option %1", u"未知选项 %1"},
    TextRow{CliText::UnknownCommand, u"unknown command %1", u"未知命令 %1"},
    TextRow{CliText::UnexpectedArgument, u"unexpected argument %1", u"多余的参数 %1"},
    TextRow{CliText::NeedsValue, u"%1 needs a value", u"%1 需要一个值"},
    TextRow{CliText::NoCommand, u"no command: read, write or batch",
            u"缺少命令：read、write 或 batch"},
    TextRow{CliText::ZeroOrOne, u"%1: 0 or 1", u"%1：只能是 0 或 1"},
    TextRow{CliText::WholeNumber, u"%1: a whole number", u"%1：需要一个整数"},
    TextRow{CliText::NotStorable, u"%1: a character cannot be stored in the radio",
            u"%1：有字符无法存入对讲机"},
    TextRow{CliText::DealerTooLong, u"%1: at most 16 bytes (a Chinese character takes two)",
            u"%1：最多 16 个字节（一个汉字占两个）"},
    TextRow{CliText::PasswordForm, u"%1: at most 4 ASCII characters", u"%1：最多 4 个 ASCII 字符"},
    TextRow{CliText::ReadChangesNoField, u"read changes no field", u"read 不修改任何字段"},
    TextRow{CliText::BatchNeedsCount, u"batch needs --count N", u"batch 需要 --count 台数"},
    TextRow{CliText::CountBelongsToBatch, u"--count belongs to batch", u"--count 只用于 batch"},
    TextRow{CliText::JsonBelongsToRead, u"--json belongs to read", u"--json 只用于 read"},
    TextRow{CliText::PortForm, u"--port: COMn or a device path", u"--port：COMn 或设备路径"},
    TextRow{CliText::RadioNo, u"Radio No.: %1", u"当前台数：%1"},
    TextRow{CliText::AnswerOk, u"OK", u"确定"},
    TextRow{CliText::AnswerCancel, u"Cancel", u"取消"},
    TextRow{CliText::OutputFailed, u"cannot write the output: %1", u"无法写出输出：%1"},
};
} // namespace

std::u16string CliTextFor(CliText text, int langType, std::u16string_view subject) {
    for (const TextRow& row : Texts) {
        if (row.text != text) {
            continue;
        }
        std::u16string result(langType == 2 ? row.chinese : row.english);
        if (const auto at = result.find(u"%1"); at != std::u16string::npos) {
            result.replace(at, 2, subject);
        }
        return result;
    }
    return {};
}
