// The About box: the banner, the version line, the legal notice, a link
// to the help's About page (the licence and the documentation installed
// with the program) and a line saying there is no postal address. An
// e-mail row appears once the program has an address.
#ifndef VOCOR_APP_SHELL_ABOUT_DIALOG_H_
#define VOCOR_APP_SHELL_ABOUT_DIALOG_H_

class QDialog;
class QWidget;

namespace vocor {

// Runs the box modally. Reads the version information (VersionInfo(),
// filled at start-up).
void ShowAboutBox(QWidget* parent);

// The box without running it, owned by `parent` (or by the caller when
// `parent` is null); deleted on close only when shown by ShowAboutBox.
// Object names: "version", "copyright", "email" (only with an address),
// "more", "postal".
QDialog* CreateAboutBox(QWidget* parent);

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_ABOUT_DIALOG_H_
