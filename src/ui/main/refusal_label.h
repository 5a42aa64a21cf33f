#pragma once

#include "session/session_outcome.h"

#include <QLabel>

// OK of a catalogue dialog whose change may be refused: the refusal is shown
// in the dialog's own line and the dialog stays open. True: close it (done);
// a decline (Cancel at a question) keeps it open with nothing said.
inline bool closesOnOutcome(const SessionOutcome& outcome, QLabel* refusalLine)
{
    if (outcome.isRefused())
        refusalLine->setText(outcome.refusal);
    return outcome.isDone();
}
