#pragma once

#include <thread>

namespace vitrandel::platform {

// Loads Qt's image plugins on another thread while the first window is built.
// The style draws a group box's frame from a picture file, and Qt asks every
// image plugin whether it reads a file it is given, so without this the
// plugins would be loaded in the middle of the first paint. Qt locks its
// plugin loader, so a paint that comes first simply waits for it.
class ImagePluginWarmUp {
public:
    ImagePluginWarmUp();
    ~ImagePluginWarmUp();
    ImagePluginWarmUp(const ImagePluginWarmUp&) = delete;
    ImagePluginWarmUp& operator=(const ImagePluginWarmUp&) = delete;

private:
    std::thread thread_;
};

} // namespace vitrandel::platform
