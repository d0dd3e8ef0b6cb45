#pragma once

#include "CommChoice.h"

#include <functional>
#include <optional>

class Prompts;
class SerialLink;
struct SerialSettings;

// What OK and Cancel in Setup Communications do to the shared serial
// settings and the open link. No widgets: the caller asks the operator
// (normally through CommSetupDialog) and hands the answer here.
class CommSetup
{
public:
    // Shows the choice to the operator starting from initial; nothing means
    // Cancel.
    using Ask = std::function<std::optional<CommChoice>(const CommChoice& initial)>;

    // Stores changed port bindings (the port bindings file); false when that
    // failed.
    using SaveBindings = std::function<bool(const PortNames::Bindings& bindings)>;

    static const QString bindingsNotSavedText;

    CommSetup(SerialSettings& settings, SerialLink& link, Prompts& prompts);

    // Without one, changed bindings hold for this run only.
    void setSaveBindings(SaveBindings save) { m_saveBindings = std::move(save); }

    // The choice the settings stand for now: what the dialog starts from.
    CommChoice current() const;

    // OK. Records port name, baud text, framing and bindings, storing the
    // bindings when they changed (a warning when that fails; they still hold
    // for this run). In start-up mode that is all (the caller opens the port
    // afterwards). Otherwise the link reopens the port when the port number
    // or the device it maps to changed - a port that cannot be opened
    // ends the process with -1 - and applies the new framing, warning and
    // carrying on when that fails. A choice out of range is normalized first.
    void accept(const CommChoice& choice);
    // Cancel. In start-up mode the process ends at once with -1; otherwise
    // nothing changes.
    void reject();
    // Asks, starting from current(), then accepts or rejects. True on OK.
    bool run(const Ask& ask);

private:
    SerialSettings& m_settings;
    SerialLink& m_link;
    Prompts& m_prompts;
    SaveBindings m_saveBindings;
};
