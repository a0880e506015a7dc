#pragma once

#include <QtGui/QIcon>
#include <QtWidgets/QDialog>

class QLabel;
class QPushButton;

namespace velmora {

// The About box: the application icon, the program's name and version, a
// rights notice and an OK button, which is the default. OK, Escape and the
// close button end it. Run it with exec(); it is modal over its owner.
class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* owner = nullptr);
    ~CAboutDlg() override;

    // The parts, for inspection.
    QLabel* IconLabel() const { return m_icon; }
    QLabel* VersionLabel() const { return m_version; }
    QLabel* RightsLabel() const { return m_rights; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QLabel* m_icon;
    QLabel* m_version;
    QLabel* m_rights;
    QPushButton* m_ok;
};

// The application icon in all its sizes, from the compiled-in resources.
QIcon AppIcon();

// Shows the About box modally over `owner` and returns when it has closed;
// the shape QtHost::SetAboutBoxRunner takes.
void RunAboutBox(QWidget* owner);

}  // namespace velmora
