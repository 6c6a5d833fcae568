#!/bin/sh
# Refreshes the screenshots of the manuals (docs/pictures/) from the real
# program: the window tests save pictures of the dialogs and the wall view
# when told a folder (TERRAQ_DIALOG_SHOTS, TERRAQ_SIDEVIEW_SHOTS,
# TERRAQ_PLOT_SHOTS, TERRAQ_SAMPLE_GRAPH_SHOTS, and TERRAQ_WALKTHROUGH_SHOTS
# for every step of the first project of the user's manual), here on an
# X server of their own (Xvfb), and the pictures the manuals show are copied
# under the names the pages use. The test cases named Screenshots do
# nothing else and are not part of ctest: this is where they run.
#   scripts/make-doc-screenshots.sh [BUILD_DIR]
set -eu

BUILD_DIR=${1:-build}
BIN="$BUILD_DIR/bin"
PICTURES=docs/pictures
SHOTS=$(mktemp -d)
trap 'rm -rf "$SHOTS"' EXIT

# Under Xvfb the real X11 platform draws the windows; without it, Qt's
# offscreen platform does.
shoot() {
    if command -v xvfb-run >/dev/null 2>&1; then
        xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$@" >/dev/null
    else
        env QT_QPA_PLATFORM=offscreen "$@" >/dev/null
    fi
}

mkdir -p "$SHOTS/dialogs" "$SHOTS/sideview" "$SHOTS/staged" "$SHOTS/graphs" "$SHOTS/plots" \
         "$SHOTS/plot-menu" "$SHOTS/walkthrough"
shoot TERRAQ_DIALOG_SHOTS="$SHOTS/dialogs" "$BIN/test_gui_dialogs" --gtest_filter='*.Screenshots'
shoot TERRAQ_SIDEVIEW_SHOTS="$SHOTS/sideview" TERRAQ_DIALOG_SHOTS="$SHOTS/staged" \
    "$BIN/test_gui" --gtest_filter='*.Screenshots'
shoot TERRAQ_SAMPLE_GRAPH_SHOTS="$SHOTS/graphs" TERRAQ_PLOT_SHOTS="$SHOTS/plots" \
    TERRAQ_DIALOG_SHOTS="$SHOTS/plot-menu" "$BIN/test_gui_plot" --gtest_filter='SampleGraphs.*:*.Screenshots'
shoot TERRAQ_WALKTHROUGH_SHOTS="$SHOTS/walkthrough" "$BIN/test_gui_walkthrough"

# picture saved by a test  ->  name in the manuals
copy() {
    if [ ! -s "$SHOTS/$1" ]; then
        echo "make-doc-screenshots: $1 was not made" >&2
        exit 1
    fi
    cp "$SHOTS/$1" "$PICTURES/$2"
}
mkdir -p "$PICTURES"
copy dialogs/title.png dialog-title.png
copy dialogs/prop.png dialog-wall-properties.png
copy dialogs/csd.png dialog-wall-configuration.png
copy dialogs/rebar.png dialog-surcharge.png
copy sideview/anchored-wall-tieback.png side-view.png
copy sideview/sequence-stage-4.png side-view-sequence.png
copy graphs/layered-clay-stiff-below-water-GraphDeflectionMomentShear.png graph-deflection-moment-shear.png
copy staged/design.png design-window.png
copy staged/design-apparent-1400.png design-window-apparent.png
copy staged/study-sweep.png study-window-sweep.png
copy staged/study-mc.png study-window-probabilistic.png
copy staged/study-correlations.png study-window-correlations.png
copy staged/report-preview.png report-preview.png
copy staged/section-dialog.png section-dialog.png
copy staged/utilisation-graph.png utilisation-graph.png
copy staged/mobilised-pressure-graph.png mobilised-pressure-graph.png
copy staged/design-situations.png design-situations.png
copy staged/sequence.png sequence.png
# The first project, step by step.
for step in main-window menu-earth-pressure menu-data title wall-properties wall-stiffness \
            wall-configuration soil-layers sand-parameters menu-computation run-outcome menu-graphics \
            deflection-moment-shear plot-menu side-view main-window-results; do
    copy "walkthrough/$step.png" "first-project-$step.png"
done
echo "make-doc-screenshots: pictures refreshed in $PICTURES"
