#include "app/shell/about_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/shell/url_button.h"
#include "app/shell/version_info.h"

namespace vocor {

namespace {

constexpr const char* kEmailLink =
    "vocor@example.org\nmailto:vocor@example.org";
constexpr const char* kWebLink = "https://vocor.example.org/";
constexpr const char* kPostalLine =
    "Vocor has no postal address; please write by e-mail.";

QLabel* CentredLabel(const std::string& text, const char* name) {
  auto* label = new QLabel(QString::fromStdString(text));
  label->setObjectName(QLatin1String(name));
  label->setAlignment(Qt::AlignHCenter);
  label->setTextFormat(Qt::PlainText);
  return label;
}

QFrame* EtchedLine() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

QGridLayout* ContactRows() {
  auto* grid = new QGridLayout;
  auto* email = new CURLButton(QString::fromUtf8(kEmailLink));
  email->setObjectName(QStringLiteral("email"));
  auto* web = new CURLButton(QString::fromUtf8(kWebLink));
  web->setObjectName(QStringLiteral("web"));
  auto* postal = new QLabel(QString::fromUtf8(kPostalLine));
  postal->setObjectName(QStringLiteral("postal"));
  grid->addWidget(new QLabel(QStringLiteral("Email:")), 0, 0);
  grid->addWidget(email, 0, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(QStringLiteral("Web:")), 1, 0);
  grid->addWidget(web, 1, 1, Qt::AlignLeft);
  grid->addWidget(new QLabel(QStringLiteral("Mail:")), 2, 0);
  grid->addWidget(postal, 2, 1);
  grid->setColumnStretch(1, 1);
  return grid;
}

}  // namespace

QDialog* CreateAboutBox(QWidget* parent) {
  const CVersionInfo& version = VersionInfo();
  auto* box = new QDialog(parent);
  box->setWindowTitle(
      QStringLiteral("About %1")
          .arg(QString::fromStdString(version.FileDescription)));

  auto* banner = new QLabel;
  banner->setPixmap(QPixmap(QStringLiteral(":/images/banner.svg")));
  banner->setAlignment(Qt::AlignHCenter);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
  QObject::connect(buttons, &QDialogButtonBox::accepted, box, &QDialog::accept);

  auto* layout = new QVBoxLayout(box);
  layout->addWidget(banner);
  layout->addWidget(CentredLabel(version.FileVersion, "version"));
  layout->addWidget(CentredLabel(version.LegalCopyright, "copyright"));
  layout->addWidget(EtchedLine());
  layout->addLayout(ContactRows());
  layout->addWidget(EtchedLine());
  layout->addWidget(buttons);
  // The box is 288 dialog units wide: 72 average character widths.
  box->setMinimumWidth(72 * QFontMetrics(box->font()).averageCharWidth());
  return box;
}

void ShowAboutBox(QWidget* parent) {
  QDialog* box = CreateAboutBox(parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->exec();
}

}  // namespace vocor
