#include "kmrc.h"

#include <ostream>

namespace kmr::cli {

int runKmrc(const std::vector<std::string>& args, std::istream& /*in*/, std::ostream& /*out*/, std::ostream& err) {
    if (args.empty()) {
        err << "kmrc: falta la orden\n";
        return kUsage;
    }
    err << "kmrc: orden desconocida: " << args[0] << "\n";
    return kUsage;
}

}  // namespace kmr::cli
