local n = 0
for line in io.lines("dados.txt") do
  if line:find("agulha", 1, true) then n = n + 1 end
end
print(n)
