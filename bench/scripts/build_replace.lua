-- A buffer table joined once is Lua's own way to build a long string.
local k = "abc"
local parts = {}
local p = 0
for i = 1, 100000 do
  p = p + 1
  if p > 3 then p = 1 end
  parts[#parts + 1] = k:sub(p, p)
end
local t = table.concat(parts)
t = t:gsub("a", "bb")
print(#t)
