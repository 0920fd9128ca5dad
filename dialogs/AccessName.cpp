#include "dialogs/AccessName.h"

#include "i18n/LanguageManager.h"
#include "res/Resource.h"

#include <QStringList>
#include <QWidget>

namespace {
QString Text(const CLanguageManager& language, int id) {
    return QString::fromUtf8(language.GetText(id).c_str());
}
} // namespace

QString CAccessName::Compose(int kind, const QString& caption, const CLanguageManager& language) {
    return kind ? Text(language, kind).replace(QStringLiteral("%s"), caption) : caption;
}

void CAccessName::Apply(QWidget* control, int kind, const QString& caption,
                        const CLanguageManager& language) {
    control->setAccessibleName(Compose(kind, caption, language));
    if (kind == IDS_ACCESS_SWITCH || kind == IDS_ACCESS_LAMP)
        control->setProperty("valueTexts",
                             QStringList{Text(language, IDS_OFF), Text(language, IDS_ON)});
}

QString CAccessName::Caption(const QString& labelText) {
    QString caption = labelText;
    caption.remove(QLatin1Char('&'));
    caption = caption.trimmed();
    // The Chinese texts close with a full-width colon.
    if (caption.endsWith(QLatin1Char(':')) || caption.endsWith(QChar(0xFF1A)))
        caption.chop(1);
    return caption.trimmed();
}
