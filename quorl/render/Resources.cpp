#include "quorl/render/Resources.h"

#include <gio/gio.h>

extern "C" GResource* quorl_resources_get_resource(void);
extern "C" void quorl_resources_register_resource(void);

namespace Quorl {

HINSTANCE GetToolkitModule() {
    // The bundle exists once initialised; lookups go to it directly, never through the
    // process-wide resource namespace.
    static GResource* const bundle = [] {
        quorl_resources_register_resource();
        return quorl_resources_get_resource();
    }();
    return bundle;
}

bool LoadModuleResource(HINSTANCE module, UINT id, const CString& type,
                        std::vector<std::uint8_t>& data) {
    data.clear();
    if (!module || type.IsEmpty()) {
        return false;
    }
    CString path;
    path.Format(L"/res/%s/%u", CString(type).MakeUpper().GetString(), id);
    GBytes* bytes =
        g_resource_lookup_data(static_cast<GResource*>(const_cast<void*>(module)),
                               path.ToUtf8().c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr);
    if (!bytes) {
        return false;
    }
    gsize size = 0;
    const auto* p = static_cast<const std::uint8_t*>(g_bytes_get_data(bytes, &size));
    if (p && size > 0) {
        data.assign(p, p + size);
    }
    g_bytes_unref(bytes);
    return !data.empty();
}

}  // namespace Quorl
