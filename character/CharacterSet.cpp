#include "CharacterSet.h"
