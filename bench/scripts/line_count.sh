#!/usr/bin/env bash
n=0
while IFS= read -r line; do
  if [[ $line == *agulha* ]]; then (( n += 1 )); fi
done < dados.txt
echo "$n"
