#pragma once
// File > Open Image... and Save Image...: a raw memory image taken in as if
// read from the radio, or the image the next write would send kept in a file.
// The halves after the dialog take a path so tests can run them directly.
#include <QString>

#include "forms/MessageFn.h"
#include "model/Workspace.h"

class QWidget;

namespace corvane {

inline constexpr const char* kOpenImageText = "Open Image...";
inline constexpr const char* kSaveImageText = "Save Image...";
inline constexpr const char* kImageFilter = "Radio images (*.img)";
inline constexpr const char* kImageSuffix = "img";

// The open dialog, starting in the backup folder (the Data folder while there
// is none yet); empty when cancelled.
QString ChooseImageToOpen(QWidget* parent, const Workspace& ws);
// The save dialog; ".img" added to a name without a suffix; empty when cancelled.
QString ChooseImageToSave(QWidget* parent, const Workspace& ws);

// Decodes the file into the workspace with the read's own validation and its
// Port.txt / Group.txt saves. False when the file could not be read or was
// refused (named in the message), so the workspace is untouched; true when
// it was taken (the views must refresh even if a file failed, as after a
// read). Failures are told.
bool OpenImageFromPath(Workspace& ws, const QString& path, const MessageFn& tell);

// BuildImage with its refusals told; false when refused.
bool CheckImageBuilds(const Workspace& ws, const MessageFn& tell);
// Builds the image and writes it to path; false (and told) on failure.
bool SaveImageToPath(const Workspace& ws, const QString& path, const MessageFn& tell);

}  // namespace corvane
