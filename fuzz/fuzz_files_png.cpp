#include "FuzzImageLoader.h"

PIXORAL_IMAGE_FUZZER(Png)
