#include "app/UserSettings.h"

#include <QSettings>

namespace corvane::user_settings {
namespace {

const QString kOrganisation = QStringLiteral("corvane");
const QString kApplication = QStringLiteral("corvane");
const QString kVerifyAfterWriteKey = QStringLiteral("link/verifyAfterWrite");

QSettings Store() { return QSettings(QSettings::UserScope, kOrganisation, kApplication); }

}  // namespace

bool VerifyAfterWrite() { return Store().value(kVerifyAfterWriteKey, false).toBool(); }

void SetVerifyAfterWrite(bool on) { Store().setValue(kVerifyAfterWriteKey, on); }

}  // namespace corvane::user_settings
