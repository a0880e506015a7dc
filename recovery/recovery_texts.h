#pragma once

#include <string>

#include "io/status.h"
#include "recovery/session_recovery.h"

namespace velmora {

// The start-up question that offers `offer` back, whose edits were made on
// the spline file `splineFile` (its absolute path): when the session ended,
// how many changes to which notes, whether the file has changed since, and
// what Yes and No do.
std::string RecoveryQuestion(const RecoveryOffer& offer, const std::string& splineFile);

// The message that tells, once, that unsaved edits cannot be kept for
// recovery, and why.
std::string RecoveryFailureMessage(const Status& why);

}  // namespace velmora
