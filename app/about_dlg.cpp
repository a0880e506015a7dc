#include "app/about_dlg.h"

#include <QtWidgets/QHBoxLayout>
#include <QtWidgets/QLabel>
#include <QtWidgets/QPushButton>
#include <QtWidgets/QVBoxLayout>

#include "resources/resource_ids.h"

// The resources are compiled into a static library, whose registration the
// linker would drop unless something refers to it; Q_INIT_RESOURCE must be
// used outside any namespace.
static void InitVelmoraResources() { Q_INIT_RESOURCE(velmora); }

namespace velmora {

namespace {

constexpr int kIconSize = 32;

// "Velmora Version 1.0": the name and the major.minor of the product version.
QString VersionLine() {
    return QStringLiteral("%1 Version %2.%3")
        .arg(QString::fromLatin1(kProductName))
        .arg(kProductVersion[0])
        .arg(kProductVersion[1]);
}

}  // namespace

// Icon at the left, the two text lines beside it, OK at the top right.
CAboutDlg::CAboutDlg(QWidget* owner)
    : QDialog(owner),
      m_icon(new QLabel(this)),
      m_version(new QLabel(VersionLine(), this)),
      m_rights(
          new QLabel(QStringLiteral("%1\nReleased under the %2 License.")
                         .arg(QString::fromLatin1(kCopyright), QString::fromLatin1(kLicenceName)),
                     this)),
      m_ok(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("About %1").arg(QString::fromLatin1(kProductName)));
    setModal(true);

    m_icon->setPixmap(AppIcon().pixmap(kIconSize, kIconSize));
    m_icon->setFixedSize(kIconSize, kIconSize);
    // Plain text: no '&' or markup in these lines is ever interpreted.
    m_version->setTextFormat(Qt::PlainText);
    m_rights->setTextFormat(Qt::PlainText);

    m_ok->setDefault(true);
    m_ok->setAutoDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(m_version);
    text->addWidget(m_rights);
    text->addStretch();

    auto* button = new QVBoxLayout;
    button->addWidget(m_ok);
    button->addStretch();

    auto* row = new QHBoxLayout(this);
    row->addWidget(m_icon, 0, Qt::AlignTop);
    row->addSpacing(8);
    row->addLayout(text, 1);
    row->addSpacing(16);
    row->addLayout(button);
    row->setSizeConstraint(QLayout::SetFixedSize);

    m_ok->setFocus();
}

CAboutDlg::~CAboutDlg() = default;

// Registers the resources on first use and loads every rendered size.
QIcon AppIcon() {
    static const bool registered = (InitVelmoraResources(), true);
    (void)registered;
    QIcon icon;
    for (int size : {16, 32, 48, 256}) {
        icon.addFile(QStringLiteral(":/velmora/velmora-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

// A modal run of the About box; the result does not matter.
void RunAboutBox(QWidget* owner) {
    CAboutDlg dlg(owner);
    dlg.exec();
}

}  // namespace velmora
