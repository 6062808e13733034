#pragma once
// "About Corvane": the logo, the product lines and an OK button.
#include <QWidget>
#include <filesystem>

namespace corvane {

class AboutWindow final : public QWidget {
    Q_OBJECT
public:
    // programFolder is shown so users of an installed copy find their files.
    explicit AboutWindow(const std::filesystem::path& programFolder, QWidget* parent = nullptr);

    void AllwaysOntop();
    void NoAllwaysOnTop();
};

}  // namespace corvane
