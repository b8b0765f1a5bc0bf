#include "app/shell/about_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

#include "app/shell/help_window.h"
#include "app/shell/url_button.h"
#include "app/shell/version_info.h"

namespace vocor {

namespace {

// Vocor has no e-mail address yet; its row is shown once this names one.
constexpr const char* kEmailAddress = "";
// The link of the "More:" row: the help's About page, which is always
// there, installed or not, and names the documentation installed beside
// the program.
constexpr const char* kMoreLabel = "About Vocor, in the Help";
constexpr const char* kMorePage = "about.html";
constexpr const char* kPostalLine = "Vocor has no postal address.";

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

void AddRow(QGridLayout* grid, const char* label, QWidget* content) {
  const int row = grid->rowCount();
  grid->addWidget(new QLabel(QString::fromUtf8(label)), row, 0);
  grid->addWidget(content, row, 1, Qt::AlignLeft);
}

QGridLayout* ContactRows(QDialog* box) {
  auto* grid = new QGridLayout;
  const QString address = QString::fromUtf8(kEmailAddress);
  if (!address.isEmpty()) {
    auto* email =
        new CURLButton(address + QStringLiteral("\nmailto:") + address);
    email->setObjectName(QStringLiteral("email"));
    AddRow(grid, "Email:", email);
  }
  auto* more =
      new CURLButton(QString::fromUtf8(kMoreLabel) + QLatin1Char('\n') +
                     HelpPageLink(kMorePage).toString());
  more->setObjectName(QStringLiteral("more"));
  // The box is modal: it makes way for the help window, which it would
  // otherwise keep from taking input.
  QObject::connect(more, &QAbstractButton::clicked, box, &QDialog::accept);
  AddRow(grid, "More:", more);
  auto* postal = new QLabel(QString::fromUtf8(kPostalLine));
  postal->setObjectName(QStringLiteral("postal"));
  AddRow(grid, "Mail:", postal);
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
  layout->addLayout(ContactRows(box));
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
