// Services of the spelling engine that start-up and shutdown call.
#pragma once

void init_spell();
void close_spell();
