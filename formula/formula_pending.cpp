// Stand-ins for evaluator state not built yet.

// The evaluator's value register.
double g_value = 0;
