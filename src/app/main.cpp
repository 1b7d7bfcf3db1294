#include "app/shell/ZentrelApp.h"

int main(int argc, char* argv[]) {
    return ZentrelApp::main(argc, argv);
}
