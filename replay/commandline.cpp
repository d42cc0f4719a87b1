#include "replay/commandline.h"

#include "replay/report.h"
#include "toolkit/apperror.h"
#include "toolkit/textfile.h"

#include <QMap>

using namespace Qt::Literals::StringLiterals;

namespace replay {
namespace {

const char usage[] =
    "用法：qorvel3d-replay --text 文件 [--type 2|3] [--mode oddeven|bigsmall]\n"
    "                      [--loss L] [--profit R] [--stake S] [--prize P] [--periods N] [--csv 输出文件]\n"
    "\n"
    "在开奖历史上回测主窗口的投注计划和倍投计划的倍数，打印汇总和随机开奖下的概率（UTF-8）。\n"
    "不带参数时打开回测窗口；只给一个文件名时打开回测窗口并读入该文件。\n"
    "\n"
    "  --text 文件      开奖历史：每行一期，行末是三位数字（385）或三个一位数字（3 8 5、3,8,5），\n"
    "                   前面可以有期号或日期；空行和以 # 开头的行跳过。UTF-8 或 GBK。\n"
    "                   期号从上到下递减的文件（新开奖在前）按时间先后倒转回测。\n"
    "  --type 2|3       二码（默认）或三码\n"
    "  --mode 模式      oddeven 奇偶模式（默认）或 bigsmall 大小模式\n"
    "  --loss L         前期亏损，默认 0\n"
    "  --profit R       预期利润(%)，默认 20\n"
    "  --stake S        单倍投入，默认为注数乘以每注 2 元：二码 500，三码 250\n"
    "  --prize P        单注奖金，默认 1040\n"
    "  --periods N      投注期数，默认为最多可投注期数（不超过 80）\n"
    "  --csv 输出文件   另把计划明细写成 CSV（UTF-8 带 BOM，CR LF）\n"
    "  --help           显示本说明\n"
    "\n"
    "退出码：0 完成；1 文件读写失败或倍投计划无法生成；2 参数有误或开奖历史有无法识别的行（附行号）。\n";

struct failure
{
    int status;
    QString text;
};

} // namespace

int commandline(const QStringList &args, FILE *out, FILE *err)
{
    const QStringList valued{u"--text"_s, u"--type"_s, u"--mode"_s, u"--loss"_s, u"--profit"_s,
                             u"--stake"_s, u"--prize"_s, u"--periods"_s, u"--csv"_s};
    QMap<QString, QString> given;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--help"_s || arg == u"-h"_s) {
            printutf8(out, QString::fromUtf8(usage));
            return 0;
        }
        if (!valued.contains(arg) || i + 1 >= args.size()) {
            printutf8(err, (valued.contains(arg) ? u"参数 %1 缺少取值"_s : u"未知的参数：%1"_s).arg(arg) + u"\n\n"_s
                         + QString::fromUtf8(usage));
            return 2;
        }
        given[arg] = args[++i];
    }
    const auto refuse = [err](int status, const QString &text) {
        printutf8(err, u"qorvel3d-replay: "_s + text + u'\n');
        return status;
    };
    if (!given.contains(u"--text"_s))
        return refuse(2, u"缺少 --text 文件"_s);
    const QString type = given.value(u"--type"_s, u"2"_s), mode = given.value(u"--mode"_s, u"oddeven"_s);
    if (type != u"2"_s && type != u"3"_s)
        return refuse(2, u"--type 只能是 2 或 3"_s);
    if (mode != u"oddeven"_s && mode != u"bigsmall"_s)
        return refuse(2, u"--mode 只能是 oddeven 或 bigsmall"_s);
    const settings how{type == u"2"_s ? planrules::kind::two : planrules::kind::three,
                       mode == u"oddeven"_s ? planrules::mode::oddeven : planrules::mode::bigsmall};

    try {
        history::parsed parsed;
        try {
            parsed = history::parse(readwholefile(given[u"--text"_s]));
        } catch (const AppError &error) {
            return refuse(1, given[u"--text"_s] + u"："_s + error.message());
        }
        if (parsed.badcount > 0) {
            for (const QString &line : history::describebad(parsed))
                printutf8(err, given[u"--text"_s] + u"："_s + line + u'\n');
            return 2;
        }

        const QString loss = given.value(u"--loss"_s, QString::number(defaultloss));
        const QString profit = given.value(u"--profit"_s, QString::number(defaultprofit));
        const QString stake = given.value(u"--stake"_s, QString::number(defaultstake(how.type)));
        const QString prize = given.value(u"--prize"_s, QString::number(defaultprize));
        plancalc::inputs in;
        try {
            // The window's boxes, read in the planner's order with its messages.
            const QString days = given.contains(u"--periods"_s)
                                     ? given[u"--periods"_s]
                                     : QString::number(longestdays(plancalc::readinputs(loss, profit, stake, prize, u"0"_s)));
            in = plancalc::readinputs(loss, profit, stake, prize, days);
        } catch (const AppError &error) {
            return refuse(2, error.message());
        }
        const std::optional<plancalc::plantabletype> table = plannertable(in);
        if (!table)
            return refuse(1, u"所需倍数太大，无法投注！按这些设置最多可投注%1期"_s.arg(longestdays(in)));
        const outcome result = run(parsed.history, how, *table);
        const runinfo info{how, in, longestdays(in), *table};
        printutf8(out, summarylines(parsed.history, info, result).join(u'\n') + u'\n');
        if (given.contains(u"--csv"_s)) {
            try {
                savelines(given[u"--csv"_s], csvlines(parsed.history, result));
            } catch (const AppError &error) {
                return refuse(1, given[u"--csv"_s] + u"："_s + error.message());
            }
        }
    } catch (const AppError &error) {
        // The planner's own failures: an overflow, a zero divisor.
        return refuse(1, error.message());
    }
    return 0;
}

} // namespace replay
