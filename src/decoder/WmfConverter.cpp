#include "WmfConverter.h"

#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <vector>

namespace {

// Owns the library handle so that every exit path releases it.
class WmfSession {
public:
    ~WmfSession()
    {
        if (api)
            wmf_api_destroy(api);
    }
    wmfAPI* api = nullptr;
};

} // namespace

bool convertWmf(const unsigned char* data, std::size_t size, std::string& svg, std::string& error)
{
    std::vector<unsigned char> contents(data, data + size);

    wmfAPI_Options options{};
    options.function = wmf_svg_function;
    const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_DEBUG;

    WmfSession session;
    if (wmf_api_create(&session.api, flags, &options) != wmf_E_None || session.api == nullptr) {
        // A failed start may already have released the handle; leaking it in a
        // process that is about to exit beats freeing it twice.
        session.api = nullptr;
        error = "WMF library could not start";
        return false;
    }
    wmfAPI* api = session.api;
    if (wmf_mem_open(api, contents.data(), static_cast<long>(contents.size())) != wmf_E_None) {
        error = "WMF could not be opened";
        return false;
    }

    wmfD_Rect bbox{};
    if (wmf_scan(api, 0, &bbox) != wmf_E_None) {
        error = "WMF could not be read";
        return false;
    }
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_display_size(api, &width, &height, 96, 96) != wmf_E_None || width == 0 || height == 0
        || width > 20000 || height > 20000) {
        error = "WMF declares an unusable picture size";
        return false;
    }

    wmf_svg_t* device = WMF_SVG_GetData(api);
    device->out = wmf_stream_create(api, nullptr);
    if (device->out == nullptr) {
        error = "WMF output could not be prepared";
        return false;
    }
    device->Description = const_cast<char*>("");
    device->bbox = bbox;
    device->width = width;
    device->height = height;
    device->flags |= WMF_SVG_INLINE_IMAGES;

    const wmf_error_t played = wmf_play(api, 0, &bbox);
    char* out = nullptr;
    unsigned long outLength = 0;
    // The stream's memory belongs to the library and goes with the handle.
    wmf_stream_destroy(api, device->out, &out, &outLength);
    device->out = nullptr;
    if (played != wmf_E_None || out == nullptr || outLength == 0) {
        error = "WMF conversion failed";
        return false;
    }
    svg.assign(out, outLength);
    return true;
}
