# Sourced by the tool scripts: installs the Debian packages the build needs (only those that
# are missing) and builds Release targets.
qrt_install_deps() {
    local wanted=(cmake make g++ pkg-config qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite
                  libgl-dev zlib1g-dev qt6-charts-dev fonts-dejavu-core "$@")
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

# Configures the shared Release tree in build/release and builds one target in it. The program
# and the benchmark share the tree, so they must configure it alike.
qrt_build_release() {
    echo "==> Building $1 (Release) in build/release"
    cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF > /dev/null
    cmake --build build/release -j"$(nproc)" --target "$1"
}
