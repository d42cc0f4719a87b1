#include "toolkit/platform.h"

#include <QApplication>
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QLibraryInfo>
#include <QTranslator>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

void installfontsubstitutes()
{
    // Chinese faces first: they carry both the CJK and the Latin glyphs.
    const QStringList cjksans{u"SimHei"_s, u"Microsoft YaHei"_s, u"WenQuanYi Zen Hei"_s, u"Noto Sans CJK SC"_s};
    const QStringList cjkserif{u"SimSun"_s, u"NSimSun"_s, u"WenQuanYi Zen Hei"_s, u"Noto Serif CJK SC"_s,
                               u"AR PL UMing CN"_s};
    QFont::insertSubstitutions(u"MS Sans Serif"_s, QStringList{u"Microsoft Sans Serif"_s, u"Tahoma"_s,
                                                              u"DejaVu Sans"_s} + cjksans);
    // Not the Mono face of Zen Hei: its Latin letters fill whole cells and push
    // the title past its label. The proportional one is nearest to SimHei.
    QFont::insertSubstitutions(u"黑体"_s, QStringList{u"SimHei"_s} + cjksans);
    QFont::insertSubstitutions(u"宋体"_s, cjkserif);
    QFont::insertSubstitutions(u"隶书"_s, QStringList{u"LiSu"_s, u"STLiti"_s} + cjksans);
    QFont::insertSubstitutions(u"录书"_s, QStringList{u"LiSu"_s, u"STLiti"_s} + cjksans);
    QFont::insertSubstitutions(u"华文中宋"_s, QStringList{u"STZhongsong"_s} + cjkserif);
}

int textwidth(const QFont &font, const QString &text)
{
    const QFontMetrics metrics(font);
    return std::max(metrics.horizontalAdvance(text), metrics.tightBoundingRect(text).right() + 1);
}

int stretchtofit(const QFont &font, const QString &text, int width)
{
    QFont trial = font;
    int stretch = 100;
    trial.setStretch(stretch);
    while (stretch > 75 && textwidth(trial, text) > width) {
        stretch -= 5;
        trial.setStretch(stretch);
    }
    return stretch;
}

void condenselabelstofit(QWidget *window)
{
    for (QLabel *label : window->findChildren<QLabel *>()) {
        if (label->text().isEmpty() || label->wordWrap() || !label->pixmap().isNull())
            continue;
        label->ensurePolished(); // a style sheet may give the size
        const int stretch = stretchtofit(label->font(), label->text(), label->contentsRect().width());
        if (stretch != 100) {
            QFont font = label->font();
            font.setStretch(stretch);
            label->setFont(font);
        }
    }
}

void loadchinesetranslation(QApplication &app)
{
    auto *translator = new QTranslator(&app);
    if (translator->load(u"qtbase_zh_CN"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || translator->load(u"qtbase_zh_CN"_s, QCoreApplication::applicationDirPath() + u"/translations"_s))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}
