#include "CInteraction.h"

CInteraction::CInteraction() {
    ++s_running;
}

CInteraction::~CInteraction() {
    --s_running;
}
