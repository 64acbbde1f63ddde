#include "ConvertApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    CConvertApp app(instance);
    return app.Run();
}
