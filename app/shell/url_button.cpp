#include "app/shell/url_button.h"

#include <QDesktopServices>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QUrl>

namespace vocor {

namespace {

CURLButton::Opener& CurrentOpener() {
  static CURLButton::Opener opener;
  return opener;
}

void Open(const QUrl& url) {
  if (CurrentOpener()) {
    CurrentOpener()(url);
  } else {
    QDesktopServices::openUrl(url);  // a failure gives no message
  }
}

}  // namespace

CURLButton::CURLButton(const QString& text, QWidget* parent)
    : QAbstractButton(parent) {
  setText(text);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractButton::clicked, this,
          [this] { Open(QUrl(target())); });
}

QString CURLButton::label() const {
  return text().section(QLatin1Char('\n'), 0, 0);
}

QString CURLButton::target() const {
  const QString whole = text();
  const qsizetype line_break = whole.indexOf(QLatin1Char('\n'));
  return line_break < 0 ? whole : whole.mid(line_break + 1);
}

QRect CURLButton::labelRect() const {
  const QFontMetrics metrics(font());
  return QRect(0, 0, metrics.horizontalAdvance(label()), metrics.height());
}

void CURLButton::SetOpener(Opener opener) {
  CurrentOpener() = std::move(opener);
}

QSize CURLButton::sizeHint() const { return labelRect().size(); }

void CURLButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(QColor(0, 0, 255));
  const QRect label_rect = labelRect();
  painter.drawText(label_rect,
                   Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label());
  if (hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = label_rect;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

}  // namespace vocor
