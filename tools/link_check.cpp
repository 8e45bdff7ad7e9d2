// Built with every object of the engine linked in: it links only when no
// engine object needs the application, the windows or the drawing libraries.
int main() { return 0; }
