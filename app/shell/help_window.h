// The help: HTML pages compiled into the program (":/help/"), shown in a
// window of our own (a contents list beside a QTextBrowser), so help works
// without a browser or a help viewer installed.
#ifndef VOCOR_APP_SHELL_HELP_WINDOW_H_
#define VOCOR_APP_SHELL_HELP_WINDOW_H_

class QUrl;
class QWidget;

namespace vocor {

// The frame's help call: `command` is a help request (help_command.h:
// kHelpFinder for Help Topics and F1, kHelpContext with a topic id in
// `data` for context help, kHelpIndex); it is translated and shown in the
// one help window of the program, created on first use as a top-level
// window (not owned by `owner`, which is only where it appears first) and
// raised on later calls. An unknown topic shows the contents.
void ShowHelp(QWidget* owner, unsigned command, unsigned data);

// A link to the help page `file` (one of kHelpPages), for the About box's
// link buttons: opened with QDesktopServices::openUrl, as they open their
// targets, it shows that page in the help window.
QUrl HelpPageLink(const char* file);

// The help window if it has been created, else null (for tests and for
// closing it with the program).
QWidget* HelpWindowIfOpen();

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_HELP_WINDOW_H_
