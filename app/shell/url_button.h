// A link drawn as blue text: the About box's e-mail and web links. Its
// text holds the label, a line break and the target; without a line break
// the text is both. A click opens the target with the desktop's handler.
#ifndef VOCOR_APP_SHELL_URL_BUTTON_H_
#define VOCOR_APP_SHELL_URL_BUTTON_H_

#include <QAbstractButton>
#include <QString>
#include <functional>

class QUrl;

namespace vocor {

class CURLButton : public QAbstractButton {
  Q_OBJECT

 public:
  // Opens a target; the default is QDesktopServices::openUrl. Tests
  // replace it so that nothing is launched.
  using Opener = std::function<void(const QUrl&)>;

  explicit CURLButton(const QString& text = QString(),
                      QWidget* parent = nullptr);

  // The part of text() before the first line break.
  QString label() const;
  // The part after the first line break; the whole text without one.
  QString target() const;
  // The label's text extent in the button's font: the focus rectangle.
  QRect labelRect() const;

  static void SetOpener(Opener opener);  // empty: back to the default

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_URL_BUTTON_H_
