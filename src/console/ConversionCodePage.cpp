#include "console/ConversionCodePage.h"

namespace console {

UINT InitialConsoleCodePage()
{
    return ::GetOEMCP();
}

}  // namespace console
