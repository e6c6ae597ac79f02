#!/bin/bash
# Run-time feature switches (examples/switches): every method of a layer
# whose equation line carries a switch word asks Config whether the switch is
# on and otherwise calls the lower version; DynamicFeatureConfig gets one
# enumerator and one name per switch after its marker comments. The composed
# program must compile without warnings and behave as the switches say.
# Usage: switches.sh <mosa++> <fixtures-dir>
set -u
source "$(dirname "$0")/lib/example.bash" "$1" "$2" switches

follows() { # file text next: a line holding text is followed by one holding next
    if awk -v a="$2" -v b="$3" 'found && index($0, b) { ok = 1 } { found = index($0, a) > 0 }
        END { exit !ok }' "$1"; then
        pass
    else
        fail "$(basename "$1"): no line with '$2' followed by one with '$3'"
    fi
}

# Compiles the example's main.cpp against the output and the runtime header.
build() {
    if g++ -std=c++17 -Wall -Wextra -Werror -I"$DIR/out" -I"$DIR/runtime" "$DIR/main.cpp" \
        -o "$DIR/editor" 2>"$DIR/gxx"; then
        pass
    else
        fail "does not compile:"
        head -20 "$DIR/gxx"
    fi
}

# runs "<expected output, lines joined by |>" [switches...]
runs() {
    local expected=$1
    shift
    local out
    out=$("$DIR/editor" "$@" 2>&1 | paste -sd'|')
    if [ "$out" = "$expected" ]; then pass; else fail "switches '$*': got '$out', want '$expected'"; fi
}

CASE=example
DIR=$WORK/example
cp -r "$EXAMPLE" "$DIR"
find "$DIR" -type f -exec touch -d '-10 seconds' {} +
compose switches.equation
if grep -q "warning\|error" "$DIR/console"; then fail "messages:"; cat "$DIR/console"; else pass; fi
has "$DIR/out/Editor.h" '#include "Config.h"'
has "$DIR/out/Editor.h" "if (! (Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_Undo)) ) { return base_Type(text);  } ;"
has "$DIR/out/Editor.h" "if (! (Config::GetInstance().IsFeatureActive(DynamicFeatureConfig::feature_Log)) ) { return undo_Type(text);  } ;"
has "$DIR/out/DynamicFeatureConfig.h" 'm_FeatureNames[feature_Undo]="Undo";m_FeatureNames[feature_Log]="Log";'
build
runs 'undo is switched off|text: Hello, world'
runs 'undone|text: Hello' Undo
runs 'log: typed "Hello"|log: typed ", world"|undo is switched off|text: Hello, world' Log
runs 'log: typed "Hello"|log: typed ", world"|undone|text: Hello' Log Undo
runs 'unknown feature: Bad' Bad

# The markers in block comments, one over several lines and one holding both
# markers (it gets the feature list only). (A switch word that is a keyword
# but for letter case is an error: mistakes_equation.sh.)
CASE=markers
DIR=$WORK/markers
cp -r "$EXAMPLE" "$DIR"
cat >"$DIR/libDynConditionalConfig/DynamicFeatureConfig.h" <<'EOT'
#include <map>
#include <string>

class DynamicFeatureConfig {
public:
    enum Feature { /* <ADD_FEATURES /> <ADD_FEATURE_MAPPING /> */ feature_count };

    DynamicFeatureConfig()
    {
        /*
         * <ADD_FEATURE_MAPPING />
         */
    }

    std::map<int, std::string> m_FeatureNames;
};
EOT
find "$DIR" -type f -exec touch -d '-10 seconds' {} +
compose switches.equation
if grep -q "warning\|error" "$DIR/console"; then fail "messages:"; cat "$DIR/console"; else pass; fi
follows "$DIR/out/DynamicFeatureConfig.h" "/* <ADD_FEATURES /> <ADD_FEATURE_MAPPING /> */" "feature_Undo,"
follows "$DIR/out/DynamicFeatureConfig.h" "         */" 'm_FeatureNames[feature_Undo]="Undo";'
count=$(grep -c "m_FeatureNames\[feature_Undo\]" "$DIR/out/DynamicFeatureConfig.h")
[ "$count" -eq 1 ] && pass || fail "the names are assigned $count times"
build
runs 'undo is switched off|text: Hello, world'
runs 'log: typed "Hello"|log: typed ", world"|undone|text: Hello' Log Undo

echo "$PASSES passed, $FAILS failed"
[ "$FAILS" -eq 0 ]
