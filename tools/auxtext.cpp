// qorvel3d-auxtext: writes the producer text files beside the program, one
// enciphered hex line per text, and reads them back.
#include "cipher/Des.h"
#include "cipher/auxfilekey.h"
#include "toolkit/apperror.h"
#include "toolkit/gbk.h"
#include "toolkit/outofmemory.h"
#include "toolkit/textfile.h"

#include <QFile>
#include <QStringList>

#include <cstdio>

using namespace Qt::Literals::StringLiterals;

namespace {

const char usage[] =
    "用法：qorvel3d-auxtext [--key K] [--decipher] [输入文件 [输出文件]]\n"
    "\n"
    "加密（默认）：读入 UTF-8 文本，每行转为 GBK，用程序的密钥（或 --key K）以 DES 加密，\n"
    "每行写出一行大写十六进制，以 CR LF 结尾。\n"
    "--decipher：把这样的文件解密回 UTF-8 文本行。输出的每行都以 CR LF 结尾。\n"
    "省略文件名时读标准输入、写标准输出。\n"
    "\n"
    "出错时（文件打不开、文本含有 GBK 无法表示的字符、某行不是十六进制或其长度不是 16 的倍数）\n"
    "给出行号，"
    "退出码为 1；参数有误时退出码为 2。\n";

// A file error, with the file it is about.
[[noreturn]] void rethrowfor(const QString &path, const AppError &error)
{
    throw AppError(path + u"："_s + error.message());
}

Ttextreader openinput(const QString &path)
{
    if (!path.isEmpty()) {
        try {
            return Ttextreader::fromfile(path);
        } catch (const AppError &error) {
            rethrowfor(path, error);
        }
    }
    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly))
        throw AppError(u"无法读标准输入"_s);
    return Ttextreader(in.readAll());
}

void writeoutput(const QString &path, const QList<QByteArray> &lines)
{
    if (!path.isEmpty()) {
        try {
            return savelines(path, lines);
        } catch (const AppError &error) {
            rethrowfor(path, error);
        }
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        throw AppError(u"无法写标准输出"_s);
    writelines(out, lines);
}

} // namespace

namespace {

int run(int argc, char *argv[])
{
    QByteArray key = auxfilekey;
    bool decipher = false;
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            printutf8(stdout, QString::fromUtf8(usage));
            return 0;
        }
        if (arg == "--decipher") {
            decipher = true;
        } else if (arg == "--key" && i + 1 < argc) {
            key = argv[++i];
        } else if (arg.startsWith('-') && arg != "-") {
            printutf8(stderr, u"未知的参数：%1\n\n"_s.arg(QString::fromLocal8Bit(arg)) + QString::fromUtf8(usage));
            return 2;
        } else {
            files.append(arg == "-" ? QString() : QString::fromLocal8Bit(arg));
        }
    }
    if (files.size() > 2) {
        printutf8(stderr, QString::fromUtf8(usage));
        return 2;
    }
    const QString input = files.value(0), output = files.value(1);

    int lineno = 0;
    try {
        Ttextreader reader = openinput(input);
        QList<QByteArray> lines;
        while (!reader.atend()) {
            const QByteArray line = reader.readline();
            ++lineno;
            if (decipher) {
                const QByteArray text = Des::decipherfromhex(line, key);
                // The cipher passes over a partial block; a file of ours never has one.
                if (line.size() % 16 != 0)
                    throw AppError(u"长度%1不是16的倍数，不是完整的密文"_s.arg(line.size()));
                lines.append(gbk::decode(text).toUtf8());
            }
            else
                lines.append(Des::enciphertohex(gbk::encode(QString::fromUtf8(line)), key));
        }
        lineno = 0;
        writeoutput(output, lines);
    } catch (const AppError &error) {
        const QString where = lineno > 0 ? u"第%1行："_s.arg(lineno) : QString();
        printutf8(stderr, u"qorvel3d-auxtext: "_s + where + error.message() + u'\n');
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    return runwithmemoryguard(stderr, [&] { return run(argc, argv); });
}
