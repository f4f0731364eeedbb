t = ""
k = "abc"
p = 0
for i in range(100000):
    p += 1
    if p > 3:
        p = 1
    t += k[p - 1]
t = t.replace("a", "bb")
print(len(t))
