# Sourced by the tool scripts: installs the Debian packages the build needs (only those that
# are missing) and builds Release targets.
#
# What configuring needs before it can look for anything: cmake, make, g++.
# What the configuration loads, as tools/find-deps.sh reports on a configured tree (every
# package owns a CMake configuration file or a library the build finds):
#   qt6-base-dev qt6-charts-dev libqt6opengl6-dev zlib1g-dev libopengl-dev libglx-dev
#   libegl-dev libglu1-mesa-dev libvulkan-dev pkgconf
# What the optional Qt Designer plugin builds against: qt6-tools-dev (Qt6Designer, Qt6UiPlugin).
# What turns the program's translations into resources: the CMake package Qt6LinguistTools
# from qt6-tools-dev, and the lupdate and lrelease it runs from qt6-l10n-tools.
# What runs but is never linked: the SQLite driver of Qt SQL (libqt6sql6-sqlite) and a font
# for the offscreen platform (fonts-dejavu-core).
QRT_DEB_PACKAGES=(cmake make g++
                  qt6-base-dev qt6-charts-dev libqt6opengl6-dev zlib1g-dev libopengl-dev
                  libglx-dev libegl-dev libglu1-mesa-dev libvulkan-dev pkgconf
                  qt6-tools-dev qt6-l10n-tools
                  libqt6sql6-sqlite fonts-dejavu-core)

qrt_install_deps() {
    local wanted=("${QRT_DEB_PACKAGES[@]}" "$@")
    local missing=()
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        echo "==> All required Debian packages are installed"
        return 0
    fi
    echo "==> Installing missing Debian packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Configures the shared Release tree in build/release and builds targets in it (all when none
# is named). The program, the benchmark and the install check share the tree, so they must
# configure it alike.
qrt_build_release() {
    echo "==> Building ${*:-everything} (Release) in build/release"
    cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > /dev/null
    local targets=()
    for t in "$@"; do targets+=(--target "$t"); done
    cmake --build build/release -j"$(nproc)" "${targets[@]}"
}
