#pragma once
// Copy and paste of whole channels between the grid and the clipboard, as
// tab-separated text a spreadsheet understands.
#include <QObject>
#include <QString>
#include <utility>

#include "model/Workspace.h"

class QWidget;

namespace corvane {

class MessageSink;
class ChannelWindow;

class GridClipboard final : public QObject {
    Q_OBJECT
public:
    // Lets the grid select a run of cells so several channels can be copied.
    GridClipboard(ChannelWindow& editor, Workspace& ws, MessageSink& messages, QObject* parent = nullptr);

    // First and last channel of the selection, else the current channel;
    // {0, -1} when there is neither.
    std::pair<int, int> SelectedChannels() const;
    // The selected channels with a title line; empty when none.
    QString CopyText() const;
    void Copy() const;
    // Places the text from the current channel on, as one undo step. A text
    // with any bad cell changes nothing and is answered with one message.
    // True when channels were written.
    bool PasteText(const QString& text);
    bool Paste();

private:
    ChannelWindow& editor_;
    Workspace& ws_;
    MessageSink& messages_;
};

}  // namespace corvane
