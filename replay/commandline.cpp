#include "replay/commandline.h"

#include "replay/report.h"
#include "toolkit/apperror.h"
#include "toolkit/textfile.h"

#include <QFileInfo>
#include <QMap>

#include <cerrno>
#include <new>

using namespace Qt::Literals::StringLiterals;

namespace replay {
namespace {

const char usage[] =
    "用法：qorvel3d-replay --text 文件 [--type 2|3] [--mode oddeven|bigsmall] [--positions front|middle|back]\n"
    "                      [--loss L] [--profit R] [--stake S] [--prize P] [--periods N] [--bankroll B]\n"
    "                      [--simulations K] [--seed S] [--csv 输出文件] [--json 输出文件]\n"
    "\n"
    "在开奖历史上回测主窗口的投注计划和倍投计划的倍数，打印汇总、随机开奖下的概率和模拟结果（UTF-8）。\n"
    "不带参数时打开回测窗口；只给一个文件名时打开回测窗口并读入该文件。\n"
    "每个选项也可以写成 --选项=值。\n"
    "\n"
    "  --text 文件        开奖历史，- 为标准输入：每行一期，三位数字（385）或三个一位数字（3 8 5、3,8,5、0-4-4），\n"
    "                     时时彩也可以是五位；期号、日期等写在号码前后都可以；第一行可以是标题行；\n"
    "                     空行和以 # 开头的行跳过。UTF-8、GBK 或 UTF-16。新开奖在前的文件按期号或日期倒转回测。\n"
    "  --type 2|3         二码（默认）或三码\n"
    "  --mode 模式        oddeven 奇偶模式（默认）或 bigsmall 大小模式\n"
    "  --positions 位置   五位开奖号码取哪三位：front 前三、middle 中三、back 后三（默认）\n"
    "  --loss L           前期亏损，默认 0\n"
    "  --profit R         预期利润(%)，默认 20\n"
    "  --stake S          单倍投入，默认为注数乘以每注 2 元：二码 500，三码 250\n"
    "  --prize P          单注奖金，默认 1040\n"
    "  --periods N        投注期数，默认为最多可投注期数（不超过 80）\n"
    "  --bankroll B       本金：累计盈亏加本金不够下一次投注时停止；默认不限\n"
    "  --simulations K    按随机开奖模拟多少段同样长度的历史，默认 10000，0 为不模拟\n"
    "  --seed S           模拟的种子，默认 3000；同一种子结果相同\n"
    "  --csv 输出文件     另把计划明细写成 CSV（UTF-8 带 BOM，CR LF）\n"
    "  --json 输出文件    另把结果写成 JSON，- 为标准输出（这时不打印汇总）\n"
    "  --help             显示本说明\n"
    "\n"
    "退出码：0 完成；1 文件读写失败（包括标准输出）或内存不足；2 参数有误、设置无法生成倍投计划或开奖历史有误（附行号和原因）。\n";

const QStringList valued{u"--text"_s,  u"--type"_s,     u"--mode"_s,        u"--positions"_s, u"--loss"_s,
                         u"--profit"_s, u"--stake"_s,   u"--prize"_s,       u"--periods"_s,   u"--bankroll"_s,
                         u"--simulations"_s, u"--seed"_s, u"--csv"_s,       u"--json"_s};

QString optionof(field f)
{
    static const char *const names[] = {"--loss", "--profit", "--stake", "--prize",
                                        "--periods", "--bankroll", "--simulations", "--seed"};
    return QString::fromLatin1(names[int(f)]);
}

// A failure with its exit status.
struct stopped
{
    int status;
    QString text;
};

// The options as given, each once; `--opt value` or `--opt=value`.
QMap<QString, QString> readoptions(const QStringList &args)
{
    QMap<QString, QString> given;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString name = args[i], value;
        const qsizetype equals = name.indexOf(u'=');
        const bool inline_ = name.startsWith(u"--"_s) && equals > 0;
        if (inline_) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        if (!valued.contains(name))
            throw stopped{2, u"未知的参数："_s + args[i]};
        if (!inline_) {
            // "--type --mode bigsmall": the next option is no value.
            if (i + 1 >= args.size() || valued.contains(args[i + 1].section(u'=', 0, 0)))
                throw stopped{2, u"参数 "_s + name + u" 缺少取值"_s};
            value = args[++i];
        }
        if (given.contains(name))
            throw stopped{2, u"参数 "_s + name + u" 给了不止一次"_s};
        given.insert(name, value);
    }
    return given;
}

// One of the words an option allows.
int choice(const QMap<QString, QString> &given, const QString &name, const QStringList &words, int fallback)
{
    if (!given.contains(name))
        return fallback;
    const qsizetype index = words.indexOf(given[name]);
    if (index < 0)
        throw stopped{2, name + u" 只能是 "_s + words.join(u"、"_s)};
    return int(index);
}

// Two names of one file, as far as can be told before writing.
bool samefile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QFileInfo x(a), y(b);
    return x.absoluteFilePath() == y.absoluteFilePath()
           || (x.exists() && y.exists() && x.canonicalFilePath() == y.canonicalFilePath());
}

request requestof(const QMap<QString, QString> &given)
{
    request r;
    r.how.type = planrules::kind(choice(given, u"--type"_s, {u"2"_s, u"3"_s}, 0));
    r.how.mode = planrules::mode(choice(given, u"--mode"_s, {u"oddeven"_s, u"bigsmall"_s}, 0));
    r.how.positions = history::positions(choice(given, u"--positions"_s, {u"front"_s, u"middle"_s, u"back"_s}, 2));
    // Given but empty is a value the user typed wrong, not the default.
    const struct
    {
        const char *name;
        QString &into;
    } texts[] = {{"--loss", r.loss},         {"--profit", r.profit},   {"--stake", r.stake},
                 {"--prize", r.prize},       {"--periods", r.periods}, {"--bankroll", r.bankroll},
                 {"--simulations", r.simulations}, {"--seed", r.seed}};
    for (const auto &text : texts) {
        const QString name = QString::fromLatin1(text.name);
        if (!given.contains(name))
            continue;
        if (given[name].trimmed().isEmpty())
            throw stopped{2, name + u" 缺少取值"_s};
        text.into = given[name];
    }
    return r;
}

int run(const QStringList &args, FILE *out)
{
    if (args.contains(u"--help"_s) || args.contains(u"-h"_s)) {
        printutf8(out, QString::fromUtf8(usage));
        return 0;
    }
    const QMap<QString, QString> given = readoptions(args);
    if (!given.contains(u"--text"_s))
        throw stopped{2, u"缺少 --text 文件"_s};
    for (const QString &file : {u"--text"_s, u"--csv"_s, u"--json"_s})
        if (given.contains(file) && given[file].isEmpty())
            throw stopped{2, u"参数 "_s + file + u" 缺少文件名"_s};
    const QString source = given[u"--text"_s];
    if (given.contains(u"--csv"_s) && given.contains(u"--json"_s) && samefile(given[u"--csv"_s], given[u"--json"_s]))
        throw stopped{2, u"--csv 和 --json 不能是同一个文件"_s};
    for (const QString &output : {u"--csv"_s, u"--json"_s})
        if (given.contains(output) && given[output] != u"-"_s && source != u"-"_s && samefile(given[output], source))
            throw stopped{2, output + u" 不能与 --text 是同一个文件"_s};
    if (given.contains(u"--csv"_s) && given[u"--csv"_s] == u"-"_s)
        throw stopped{2, u"--csv 需要一个文件名"_s};

    const std::variant<runinfo, refusal> prepared = prepare(requestof(given));
    if (const refusal *no = std::get_if<refusal>(&prepared))
        throw stopped{2, no->what ? optionof(*no->what) + u' ' + no->text : no->text};
    const runinfo &info = std::get<runinfo>(prepared);

    const QString sourcename = source == u"-"_s ? u"标准输入"_s : source;
    history::parsed read;
    try {
        read = history::parse(history::readsource(source), {info.how.positions});
    } catch (const AppError &error) {
        throw stopped{1, sourcename + u"："_s + error.message()};
    }
    if (read.badcount > 0) {
        QString text;
        for (const QString &line : history::describebad(read))
            text += sourcename + u"："_s + line + u'\n';
        text.chop(1);
        throw stopped{2, text};
    }
    const qint64 needed = drawsneeded(info.how.type);
    if (read.history.size() < needed)
        throw stopped{2, sourcename + u"：只有"_s + QString::number(read.history.size()) + u"期开奖，"_s
                             + kindname(info.how.type) + u"至少要有"_s + QString::number(needed) + u"期才能回测"_s};

    const outcome result = replay::run(read.history, info.how, info.table, info.bankroll);
    std::optional<simulate::result> simulated;
    if (info.simulations > 0)
        simulated = simulate::run(simulationof(info, read.history));
    const findings found{read, info, result, simulated ? &*simulated : nullptr};

    const bool jsonout = given.value(u"--json"_s) == u"-"_s;
    if (!jsonout)
        printutf8(out, summarylines(found).join(u'\n') + u'\n');
    if (given.contains(u"--csv"_s)) {
        try {
            savelines(given[u"--csv"_s], csvlines(read.history, result));
        } catch (const AppError &error) {
            throw stopped{1, given[u"--csv"_s] + u"："_s + error.message()};
        }
    }
    if (given.contains(u"--json"_s)) {
        const QByteArray bytes = json(found);
        if (jsonout) {
            fwrite(bytes.constData(), 1, size_t(bytes.size()), out);
        } else {
            try {
                savebytes(given[u"--json"_s], bytes);
            } catch (const AppError &error) {
                throw stopped{1, given[u"--json"_s] + u"："_s + error.message()};
            }
        }
    }
    return 0;
}

} // namespace

int commandline(const QStringList &args, FILE *out, FILE *err)
{
    int status;
    try {
        status = run(args, out);
    } catch (const stopped &failure) {
        printutf8(err, u"qorvel3d-replay: "_s + failure.text + u'\n');
        if (failure.status == 2 && failure.text.startsWith(u"未知的参数"_s))
            printutf8(err, u"\n"_s + QString::fromUtf8(usage));
        status = failure.status;
    } catch (const AppError &error) {
        // Amounts so large that the replay's or the simulation's sums overflow.
        printutf8(err, u"qorvel3d-replay: 按这些设置，"_s + error.message() + u'\n');
        status = 2;
    } catch (const std::bad_alloc &) {
        printutf8(err, u"qorvel3d-replay: 内存不足\n"_s);
        status = 1;
    }
    // Standard output can fail too: a full disk, a closed pipe.
    if (fflush(out) != 0 || ferror(out)) {
        const int code = errno;
        printutf8(err, u"qorvel3d-replay: 无法写入标准输出："_s + fileerrortext(code, u"-"_s) + u'\n');
        return 1;
    }
    return status;
}

} // namespace replay
