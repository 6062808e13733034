#include "app/UserSettings.h"

#include <QSettings>

namespace corvane::user_settings {
namespace {

const QString kOrganisation = QStringLiteral("corvane");
const QString kApplication = QStringLiteral("corvane");
const QString kVerifyAfterWriteKey = QStringLiteral("link/verifyAfterWrite");
const QString kShowChangesKey = QStringLiteral("link/showChangesBeforeWrite");

QSettings Store() { return QSettings(QSettings::UserScope, kOrganisation, kApplication); }

}  // namespace

bool VerifyAfterWrite() { return Store().value(kVerifyAfterWriteKey, false).toBool(); }

void SetVerifyAfterWrite(bool on) { Store().setValue(kVerifyAfterWriteKey, on); }

bool ShowChangesBeforeWrite() { return Store().value(kShowChangesKey, false).toBool(); }

void SetShowChangesBeforeWrite(bool on) { Store().setValue(kShowChangesKey, on); }

}  // namespace corvane::user_settings
