#include "ui/app/endwindowprogram.h"

#include "ui/image/picturepreviewloader.h"

#include <cstdio>

#include <unistd.h>

namespace Dayloom {

int EndWindowProgram(int code)
{
    if (!PicturePreviewLoader::AnyReadRunning())
        return code;
    std::fflush(stdout);
    std::fflush(stderr);
    ::_exit(code);
}

} // namespace Dayloom
