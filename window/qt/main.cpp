#include "window/qt/app.hpp"

int main(int argc, char** argv) { return lw::runLetterwire(argc, argv); }
