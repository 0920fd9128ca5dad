#include "dialogs/IntegerEntry.h"

#include "i18n/LanguageManager.h"
#include "res/Resource.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpression>
#include <QString>

#include <algorithm>
#include <limits>

CIntegerEntry::Reading CIntegerEntry::Read(const QString& text, long long& value) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty() || trimmed == QLatin1String("-") || trimmed == QLatin1String("+"))
        return READ_UNFINISHED;
    static const QRegularExpression wholeNumber(QStringLiteral("^[+-]?[0-9]+$"));
    if (!wholeNumber.match(trimmed).hasMatch())
        return READ_REFUSED;
    bool ok = false;
    value = trimmed.toLongLong(&ok);
    if (!ok)
        value = trimmed.startsWith(u'-') ? std::numeric_limits<long long>::min()
                                         : std::numeric_limits<long long>::max();
    return READ_NUMBER;
}

void CIntegerEntry::Warn(QWidget* parent, const CLanguageManager& language, int textId) {
    QMessageBox::warning(parent, QStringLiteral("DDS-Tarn USB"),
                         QString::fromUtf8(language.GetText(textId).c_str()));
}

bool CIntegerEntry::ReadField(QWidget* parent, QLineEdit* field, int min, int max,
                              const CLanguageManager& language, int& value) {
    long long typed = 0;
    if (Read(field->text(), typed) != READ_NUMBER) {
        // Put back first: the warning takes the focus, and leaving the field reads it again.
        field->setText(QString::number(value));
        Warn(parent, language, IDS_INTEGER_REQUIRED);
        return false;
    }
    value = static_cast<int>(std::clamp<long long>(typed, min, max));
    field->setText(QString::number(value));
    return true;
}
