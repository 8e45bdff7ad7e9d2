// Built with every object of one library linked in: it links only when no
// object of that library needs a symbol of a layer above it.
int main() { return 0; }
