# Shared settings of the build scripts.
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export CCACHE_BASEDIR="$ROOT"
export CCACHE_NOHASHDIR=true
JOBS="$(nproc)"
