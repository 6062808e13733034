#pragma once
// Per-user choices that belong to no working set (Port.txt holds those), kept
// by QSettings in the user's configuration folder.

namespace corvane::user_settings {

// Port > Verify after Write; off until the user ticks it.
bool VerifyAfterWrite();
void SetVerifyAfterWrite(bool on);
// Port > Show Changes before Write; off until the user ticks it.
bool ShowChangesBeforeWrite();
void SetShowChangesBeforeWrite(bool on);

}  // namespace corvane::user_settings
