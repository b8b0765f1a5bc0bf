// Context help (Shift+F1). The pointer becomes the What's This cursor and
// the next choice says what it is instead of doing it:
//  * a widget clicked shows its whatsThis() text (Qt's What's This mode);
//  * a command chosen from a menu (click, Enter or the entry's mnemonic
//    key) or a tool bar button clicked opens the command's help topic in
//    the help window (ShowHelp with kHelpContext and CommandHelpId), and
//    the command does not run.
// A command is an action whose data() is its command id (command_texts.h);
// the entries of the Dictionaries menu are commands too. Alt and a menu's
// mnemonic open that menu of `window`'s menu bar, so that the mode can be
// used from the keyboard. Esc, or any other key, ends the mode.
#ifndef VOCOR_APP_SHELL_CONTEXT_HELP_MODE_H_
#define VOCOR_APP_SHELL_CONTEXT_HELP_MODE_H_

class QWidget;

namespace vocor {

// Enters the mode for the main window `window` (its menu bar, and the
// owner of the help window). Entering it again while it runs changes
// nothing.
void EnterContextHelpMode(QWidget* window);

// Whether the mode runs.
bool InContextHelpMode();

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_CONTEXT_HELP_MODE_H_
