#include "toolkit/oneline.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QValidator>

#include <algorithm>

namespace {

bool islinebreak(QChar c)
{
    return c == u'\r' || c == u'\n' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

// Sits in front of the box's own validator, which still has the last word.
class Tonelinevalidator : public QValidator
{
public:
    Tonelinevalidator(const QValidator *inner, QObject *parent) : QValidator(parent), m_inner(inner) {}

    State validate(QString &input, int &pos) const override
    {
        input = withoutlinebreaks(input, &pos);
        return m_inner ? m_inner->validate(input, pos) : Acceptable;
    }

    void fixup(QString &input) const override
    {
        if (m_inner)
            m_inner->fixup(input);
    }

private:
    QPointer<const QValidator> m_inner;
};

} // namespace

QString withoutlinebreaks(const QString &text, int *cursor)
{
    if (std::none_of(text.begin(), text.end(), islinebreak))
        return text;
    QString kept;
    kept.reserve(text.size());
    int removedbefore = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (!islinebreak(text[i]))
            kept.append(text[i]);
        else if (cursor && i < *cursor)
            ++removedbefore;
    }
    if (cursor)
        *cursor -= removedbefore;
    return kept;
}

void keepboxesoneline(QWidget *window)
{
    for (QLineEdit *box : window->findChildren<QLineEdit *>()) {
        // Spin and combo boxes check their own text; a box the design hides is
        // the program's own scratch space (the main window's copy buffer holds
        // lines on purpose), never typed into.
        QWidget *owner = box->parentWidget();
        if (qobject_cast<QAbstractSpinBox *>(owner) || qobject_cast<QComboBox *>(owner) || box->isHidden())
            continue;
        if (dynamic_cast<const Tonelinevalidator *>(box->validator()))
            continue;
        box->setValidator(new Tonelinevalidator(box->validator(), box));
    }
}
