// The game's two modal dialogs: a message box with a fixed set of buttons and a one-line text
// prompt. Both block the calling (main) thread until answered; neither touches the game state.
#pragma once

#include <string>

namespace platform {

struct Window;

enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// A box in front of `parent` (may be null) showing `text` split into lines at "\n". Enter
// answers the first button. Escape and the close box answer Cancel in a YES/NO/CANCEL box and
// OK in an OK box; a YES/NO box can only be answered Yes or No. A box that cannot be shown at
// all, or that is open when a signal asks the game to end, answers as closing it would (No for
// YES/NO), and the game's frame loop still sees that quit afterwards.
MessageAnswer ShowMessageBox(Window* parent, const std::string& title, const std::string& text,
                             MessageButtons buttons, bool warning);

// A one-line prompt holding `initial`, in front of `parent` (may be null). Enter or OK returns
// the field's text (UTF-8); Escape, the close box, a prompt that cannot open or a signal asking
// the game to end returns "".
std::string AskText(Window* parent, const std::string& title, const std::string& prompt,
                    const std::string& initial);

}  // namespace platform
