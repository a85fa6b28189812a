// Element descriptor; its table and access rules join it with the data handler.
#include "link/CDataDescriptor.h"
