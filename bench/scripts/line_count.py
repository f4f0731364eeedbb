n = 0
with open("dados.txt") as f:
    for line in f:
        if "agulha" in line:
            n += 1
print(n)
