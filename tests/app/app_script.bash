# The start of every whole-program script, sourced first: strict shell options,
# the script's arguments (the quorvin binary, and the build folder where the
# screenshots go) in `quorvin` and `out`, and the session helpers.
set -uo pipefail
quorvin=$1
out=${2:-.}
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_session.bash"
