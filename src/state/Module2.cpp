#include "Module2.h"

PictureDocument& Module2::document() {
    static PictureDocument shared;
    return shared;
}
