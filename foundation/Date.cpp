#include "foundation/Date.h"

#include "foundation/RunLoop.h"

Date Date::now() {
    return RunLoop::main().now();
}
