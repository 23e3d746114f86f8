#!/usr/bin/env bash
# Writes a unit's header and source of many small classes (each with two attributes and two
# operations with short bodies), the input of the import and save checks run by hand.
# Usage: scripts/gen-unit.sh DIR COUNT [PREFIX]   -> DIR/Main.h, DIR/Main.cpp
# 35000 classes give about 10 MB together; PREFIX (default TItem) names the classes, so two
# prefixes give two different trees.
set -euo pipefail
dir=$1
count=$2
prefix=${3:-TItem}
mkdir -p "$dir"
awk -v n="$count" -v p="$prefix" -v h="$dir/Main.h" -v s="$dir/Main.cpp" 'BEGIN {
  print "#ifndef MainH\n#define MainH\n#include <Classes.hpp>" > h
  print "#include <vcl.h>\n#pragma hdrstop\n#include \"Main.h\"" > s
  for (i = 0; i < n; i++) {
    c = p i
    printf "class %s : public TObject\n{\nprivate:\n\tint FValue;\n\tCStr FName;\npublic:\n" \
           "\tvoid __fastcall SetValue(int Value);\n\tint __fastcall GetValue();\n};\n", c > h
    printf "void __fastcall %s::SetValue(int Value)\n{\n\tFValue = Value + %d;\n}\n" \
           "int __fastcall %s::GetValue()\n{\n\treturn FValue;\n}\n", c, i, c > s
  }
  print "#endif" > h
}'
