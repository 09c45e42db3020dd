#include "widgets/CappedSpinBox.h"

CappedSpinBox::CappedSpinBox(QWidget* parent)
    : QSpinBox(parent)
{
}

QValidator::State CappedSpinBox::validate(QString& text, int& pos) const
{
    QString digits = text.trimmed();
    bool onlyDigits = !digits.isEmpty();
    for (const QChar c : digits)
        onlyDigits = onlyDigits && c.isDigit() && c.unicode() < 128;
    if (onlyDigits) {
        while (digits.size() > 1 && digits.startsWith(QLatin1Char('0')))
            digits.remove(0, 1);
        const QString limit = QString::number(maximum());
        // Longer than the limit is above it whatever the digits; the length check also keeps
        // the number from overflowing before it is compared.
        const bool above = digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit);
        if (above && maximum() >= 0) {
            text = limit;
            pos = text.size();
            return QValidator::Acceptable;
        }
    }
    return QSpinBox::validate(text, pos);
}
