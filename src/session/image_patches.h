#pragma once

#include "session/session_outcome.h"
#include "session/whole_image_change.h"

#include <optional>

class EditorSession;
struct PatchResult;

// IPS and BPS patches of the session's image: Make Patch, and the second half
// of Apply Patch (the patch itself is applied by PatchApplyJob, away from the
// window's thread).
class ImagePatches {
public:
    explicit ImagePatches(EditorSession& session) : m_session(session) {}

    // Writes the patch (.ips or .bps by the name) that turns the image in
    // `originalPath` into the image as Save Rom would write it; the image is
    // not changed.
    SessionOutcome make(const QString& originalPath, const QString& patchPath);
    // A patch applied to start.image: one undo entry "Apply Patch" and the
    // status line, or the patch's refusal with nothing changed.
    SessionOutcome applied(const WholeImageChange::Start& start, const QString& patchPath, const PatchResult& patched,
                           std::optional<bool> sameAsBase = std::nullopt);

private:
    EditorSession& m_session;
};
