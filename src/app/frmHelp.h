#pragma once
// "About Corvane": the logo, the product lines and an OK button.
#include <QWidget>

namespace corvane {

class frmHelp final : public QWidget {
    Q_OBJECT
public:
    explicit frmHelp(QWidget* parent = nullptr);

    void AllwaysOntop();
    void NoAllwaysOnTop();
};

}  // namespace corvane
