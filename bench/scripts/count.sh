#!/usr/bin/env bash
i=0
while (( i < 1000000 )); do
  (( i += 1 ))
done
echo "$i"
