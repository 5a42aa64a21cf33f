#pragma once

#include <QString>

// What a step of the session came to: done (with a note for the status line,
// possibly empty), declined (a question was answered so, or the step found
// nothing to change; nothing changed), or refused, with the message the
// window shows.
struct SessionOutcome {
    enum class State { Done, Declined, Refused };
    State state = State::Done;
    QString refusal;
    QString note;

    static SessionOutcome done(const QString& note = {}) { return {State::Done, {}, note}; }
    static SessionOutcome declined() { return {State::Declined, {}, {}}; }
    static SessionOutcome refused(const QString& text) { return {State::Refused, text, {}}; }

    bool isDone() const { return state == State::Done; }
    bool isDeclined() const { return state == State::Declined; }
    bool isRefused() const { return state == State::Refused; }
};
