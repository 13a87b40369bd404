#pragma once
// Errors of the data layer.  EDatabaseError carries the data layer's own messages
// ("cd_seachq: Field 'ord' not found"); EADOError carries the provider's messages
// (missing file, wrong password, SQL the engine rejects) without a component prefix,
// as the exception box shows them.  Catch EDatabaseError for both.
#include "framework/core/Exception.h"

DECLARE_EXCEPTION(EDatabaseError, Exception)
DECLARE_EXCEPTION(EADOError, EDatabaseError)
