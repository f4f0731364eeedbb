#!/usr/bin/env bash
t=""
k="abc"
p=0
for (( i = 1; i <= 100000; i++ )); do
  (( p += 1 ))
  if (( p > 3 )); then p=1; fi
  t+=${k:p-1:1}
done
t=${t//a/bb}
echo "${#t}"
