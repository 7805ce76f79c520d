#pragma once

#include <cstdint>
#include <vector>

#include "quorl/core/BaseTypes.h"
#include "quorl/core/CString.h"

namespace Quorl {

// Resources compiled into a module as a GResource bundle, addressed by type and id: the
// bundle holds them as /res/<TYPE>/<id> (type in capitals, so "ttf" and "TTF" agree). A
// module handle (HINSTANCE) is the bundle's GResource*; the program passes its own to
// Manager::SetInstance.

// The toolkit's own bundle: scroll-bar strips "PNG" 101 and 102, fonts "TTF" 106, 111, 112.
HINSTANCE GetToolkitModule();

// The resource's bytes; false (and empty) when the module or the resource is missing.
bool LoadModuleResource(HINSTANCE module, UINT id, const CString& type,
                        std::vector<std::uint8_t>& data);

}  // namespace Quorl
