#pragma once
// What the link engine tells the user interface (or the CLI). Every call
// has an empty default so a listener overrides only what it shows.
//
// A listener may run a modal dialog inside any of these calls; the engine
// is in a consistent state at each call and may be re-entered meanwhile
// (timer ticks and received bytes keep flowing).
#include <cstdint>
#include <span>
#include <string>

#include "image/MemoryImage.h"

namespace corvane {

enum class StatusColour { Blue, Red };

// Information: a plain OK box. Exclamation: the two completion messages.
// Warning: a transfer that failed part way.
enum class MessageKind { Information, Exclamation, Warning };

class LinkListener {
public:
    virtual ~LinkListener() = default;

    // Label1: link status, probing text, "Download" or "Upload".
    virtual void OnLinkStatus(const std::string& /*text*/, StatusColour /*colour*/) {}
    // The toolbar buttons "program" and "upload" (follow Connected).
    virtual void OnWriteReadEnabled(bool /*enabled*/) {}
    // The eight buttons a transfer locks: program, upload, auto, nFile,
    // oFile, sFile, setup, group (DisableTransferButtons /
    // EnableToolbarAfterTransfer).
    virtual void OnTransferButtonsEnabled(bool /*enabled*/) {}
    // A transfer or the detection took the port (true) or gave it back:
    // commands that re-open the port or replace the channel table wait for
    // false. It turns false in the same step as the transfer buttons return.
    virtual void OnPortInUse(bool /*inUse*/) {}
    // ProgressBar1 value, always within 0..kImageLength.
    virtual void OnProgress(int /*value*/) {}
    virtual void OnMessage(const std::string& /*text*/, MessageKind /*kind*/) {}
    // CloseCellEditors: hide the grid's in-place editors without writing.
    virtual void OnCloseCellEditors() {}
    // CheckPortMenu: tick the Port menu item of the current PortName.
    virtual void OnPortNameChanged() {}
    // A read reached the decoder: the workspace may have changed (even when
    // the image was refused or its files failed); refresh grid, caption, menus.
    virtual void OnImageAccepted() {}
    // The last byte of a write left for the radio.
    virtual void OnImageSent(const MemoryImage& /*image*/) {}
    // The bytes of a completed read, before they are decoded (never the
    // read-back of Verify after Write, which is only compared).
    virtual void OnImageReceived(std::span<const uint8_t> /*image*/) {}
    // The image a compare read brought (RequestCompareRead); nothing was decoded.
    virtual void OnImageForCompare(std::span<const uint8_t> /*image*/) {}
    // A backup of the image being written or just read was saved at path.
    virtual void OnBackupSaved(const std::string& /*path*/) {}
    // That backup could not be saved; the transfer carries on regardless, so
    // this is a note for a status line, not a dialog.
    virtual void OnBackupFailed(const std::string& /*text*/) {}
};

}  // namespace corvane
